// CExpEditDlg: "Edit Expense", opened on the row the main form's record set stands on. It shows
// the row, lets the user change it (not its type, project or group), and on Save stores the
// changes into that same row, found again by its bookmark (a HotSync may have re-opened the
// record set meanwhile); a new date also files the row under its new year. A change that
// cannot be stored is reported and the dialog stays open with it.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "database/ExpenseRow.h"
#include "platform/ole/DateTime.h"
#include "platform/ole/Variant.h"

class CADODataBase;
class CAdoRecordset;
class CCodeDescCombo;
namespace Ui {
class ExpEditDlg;
}

class CExpEditDlg : public QDialog {
    Q_OBJECT
public:
    // expenses stands on the row to edit; statuses is lkpExpBillStatus sorted by Status.
    // Neither is owned.
    CExpEditDlg(CADODataBase& db, CAdoRecordset& expenses, CAdoRecordset& statuses, const std::string& strGroupLabel,
                const std::string& strCategory, QWidget* parent = nullptr);
    ~CExpEditDlg() override;

    // Dialog values, in order.
    std::int16_t m_nExpType = 0;
    std::string m_strGroupLabel;
    std::string m_strExpCat;
    ole::DateTime m_dtDate;
    std::string m_strItem;
    std::int32_t m_nReimbursed = 0;
    std::string m_strAmount;
    std::string m_strVendor;
    std::string m_strDetail;
    std::string m_strStatusCode;       // set by a status choice or the first tick of the box
    std::string m_strChkNbr;
    bool m_bReimbursableType = false;  // the row's TypeComp is 2

    // Why the last Save could not store the row (empty after a stored Save).
    const std::string& StoreFailure() const { return m_strStoreFailure; }

private:
    void OnInitDialog();
    void OnReimbursedClicked();
    void OnStatusChanged();
    void OnSave();
    bool UpdateData(bool bSave);
    void ClearStatusSelection();
    // Stores the changed row over the edited one; why it could not, or nothing.
    std::string Store(const ExpenseRow& changed);

    std::unique_ptr<Ui::ExpEditDlg> m_ui;  // the dialog's controls
    CADODataBase& m_db;                    // the application's connection
    CAdoRecordset& m_expenses;             // the form's expense record set, on the row
    CAdoRecordset& m_statuses;             // the form's status record set
    ExpenseRow m_row;                      // the row as it was read; a Save stores its changes
    ole::Variant m_bookmark;               // the row's bookmark
    std::string m_strStoreFailure;         // the engine's report of a failed store
};
