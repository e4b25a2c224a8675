// CExpenseDlg: "Expense", the dialog in which the user enters one new expense. The lists follow
// the chosen type (its categories; projects for a reimbursable type, tax years otherwise), Save
// checks the entries in a fixed order and has the main form store Row(); when that fails the
// dialog says why and stays open with everything typed. The dialog reads the lookup tables
// through record sets of its own and writes nothing itself.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "database/ExpenseRow.h"
#include "platform/ole/Currency.h"
#include "platform/ole/DateTime.h"

class CADODataBase;
class CCodeDescCombo;
namespace Ui {
class ExpenseDlg;
}

class CExpenseDlg : public QDialog {
    Q_OBJECT
public:
    CExpenseDlg(CADODataBase& db, QWidget* parent = nullptr);
    ~CExpenseDlg() override;

    // The expense the saved values describe, ready to be stored as a new row.
    ExpenseRow Row() const;

    // Stores a checked expense; false with the reason in why. Without one, Save only checks.
    using Store = std::function<bool(const ExpenseRow& row, std::string& why)>;
    void SetStore(Store store) { m_store = std::move(store); }

    // Dialog values, in order.
    std::string m_strItem;
    ole::Currency m_cyAmount;                        // starts at 0, valid
    std::string m_strVendor;
    std::string m_strDetail;
    std::string m_strChkNbr;
    std::int32_t m_lProjectID = 0;                   // the chosen project, or the year
    std::uint8_t m_nTypeComp = 0;                    // ExpComp of the chosen type; 0 below 10
    std::int32_t m_nReimbursable = 0;                // check box state
    std::int16_t m_nExpType = 0;
    std::string m_strExpCat;
    std::string m_strAcctCode;
    ole::DateTime m_dtDate;                          // starts at the current local date and time

    // Controls, for the main form's tests and for focus checks.
    CCodeDescCombo* TypeCombo() const;
    CCodeDescCombo* CategoryCombo() const;
    CCodeDescCombo* AccountCombo() const;

private:
    void OnInitDialog();
    void OnTypeChanged();
    void OnSave();
    bool UpdateData(bool bSave);
    void FillCategories(int nExpType);
    void FillTaxYears();
    void FillProjects();
    void SetReimbursable(bool bChecked, bool bEnabled);
    bool Refuse(QWidget* control, const char* text, const char* caption = "Required field missing.");

    std::unique_ptr<Ui::ExpenseDlg> m_ui;  // the dialog's controls
    CADODataBase& m_db;                    // the application's connection
    Store m_store;                         // the form's store of a saved expense
};
