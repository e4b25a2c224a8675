// CExpCatDlg: "Expense Category", one category of a type: its code (upper case, at most 8
// characters, unique within the type in any letter case) and description (at most 32). Save
// stores the row at once, with the lookup version for the handheld.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "platform/ole/Variant.h"

class CAdoRecordset;
class QLineEdit;

class CExpCatDlg : public QDialog {
    Q_OBJECT
public:
    explicit CExpCatDlg(QWidget* parent = nullptr);

    std::string m_strExpCat;
    std::string m_strCatDesc;
    std::int16_t m_nExpType = 0;      // the type, set by the caller
    std::string m_strTypeLabel;       // its name, shown read-only

    // Set before exec(): edit mode (the record set stands on the row) and the category record set.
    void SetEditMode(bool bEdit) { m_bEditMode = bEdit; }
    void SetRecordset(CAdoRecordset* pRecordset) { m_pRecordset = pRecordset; }
    int exec() override;
    bool StoreFailed() const { return m_bStoreFailed; }

private:
    void OnInitDialog();
    void OnSave();

    bool m_bEditMode = false;
    std::string m_strLoadedCat;             // the code as loaded; empty for a new category
    QLineEdit* m_pTypeEdit;
    QLineEdit* m_pCatEdit;
    QLineEdit* m_pDescEdit;
    CAdoRecordset* m_pRecordset = nullptr;  // not owned
    ole::Variant m_bookmark;                // the edited row
    bool m_bStoreFailed = false;
};
