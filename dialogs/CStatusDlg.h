// CStatusDlg: "Update Status", which asks from which billing status to which the expense lines
// of a project or category group are to be re-stated.
#pragma once

#include <QDialog>
#include <memory>

class CAdoRecordset;
class CCodeDescCombo;
namespace Ui {
class StatusDlg;
}

class CStatusDlg : public QDialog {
    Q_OBJECT
public:
    explicit CStatusDlg(QWidget* parent = nullptr);
    ~CStatusDlg() override;

    // Set before exec(): the form's status record set (not owned) and whether the dialog is
    // opened on a category group (else a project group).
    void SetStatusRecordset(CAdoRecordset* pStatuses) { m_pStatuses = pStatuses; }
    void SetCategoryFlag(bool bCategory) { m_bCategory = bCategory; }
    int exec() override;

    std::int16_t m_nFromStatus = 0;  // after OK: the status to change
    std::int16_t m_nToStatus = 0;    // after OK: the status to set

    CCodeDescCombo* FromCombo() const;
    CCodeDescCombo* ToCombo() const;

private:
    void OnInitDialog();
    void OnOK();

    std::unique_ptr<Ui::StatusDlg> m_ui;   // the dialog's controls
    bool m_bCategory = false;              // opened on a category group
    CAdoRecordset* m_pStatuses = nullptr;  // lkpExpBillStatus of the form
};
