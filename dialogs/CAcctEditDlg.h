// CAcctEditDlg: "How Paid", one account: its code (at most 4 characters) and description (at
// most 32). Both are required and the code must be new to the table, in any letter case. OK
// stores the row at once, with the lookup version for the handheld.
#pragma once

#include <QDialog>
#include <string>

#include "platform/ole/Variant.h"

class CAdoRecordset;
class QLineEdit;

class CAcctEditDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAcctEditDlg(QWidget* parent = nullptr);

    // Set before exec(): edit mode (the record set stands on the row) or a new entry.
    void SetEditMode(bool bEdit) { m_bEditMode = bEdit; }
    void SetRecordset(CAdoRecordset* pRecordset) { m_pRecordset = pRecordset; }
    int exec() override;

    std::string m_strCode;          // AcctCode
    std::string m_strDesc;          // AcctDesc
    // A store was refused: the record set may no longer match the table.
    bool StoreFailed() const { return m_bStoreFailed; }

private:
    void OnInitDialog();
    void OnOK();

    bool m_bEditMode = false;             // false: a new entry
    CAdoRecordset* m_pRecordset = nullptr;  // the list's record set, not owned
    std::string m_strPrevCode;            // the code as loaded, for the duplicate test
    ole::Variant m_bookmark;              // the edited row
    QLineEdit* m_pCodeEdit;
    QLineEdit* m_pDescEdit;
    bool m_bStoreFailed = false;
};
