// CNewProjDlg: "Project Detail", one project: its ID (1 to 9999999, also its place in the
// lists), short name (at most 16 characters) and description (at most 50). Name and description
// are required and the ID must be new to the table. Save stores the row at once, with the lookup
// version for the handheld, and leaves the record set on it.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "platform/ole/Variant.h"

class CAdoRecordset;
class QLineEdit;

class CNewProjDlg : public QDialog {
    Q_OBJECT
public:
    explicit CNewProjDlg(QWidget* parent = nullptr);

    std::int32_t m_lProjectID = 0;   // proposed by the caller for a new project
    std::string m_strProjectName;
    std::string m_strProjectDesc;

    // Set before exec(); for an edit the record set stands on the project's row.
    void SetRecordset(CAdoRecordset* pRecordset) { m_pRecordset = pRecordset; }
    void SetListIndex(int nIndex) { m_nListIndex = nIndex; }
    void SetEditMode(bool bEdit) { m_bEditMode = bEdit; }
    int exec() override;
    // A store was refused: the record set may no longer match the table.
    bool StoreFailed() const { return m_bStoreFailed; }

private:
    void OnInitDialog();
    void OnSave();
    bool UpdateData(bool bSave);

    CAdoRecordset* m_pRecordset = nullptr;  // the form's project record set, not owned
    int m_nListIndex = -1;                  // the caller's list row (carried only)
    bool m_bEditMode = false;
    ole::Variant m_bookmark;                // the edited row
    std::int32_t m_lLoadedID = -1;          // the ID as loaded; -1 for a new project
    QLineEdit* m_pIdEdit;
    QLineEdit* m_pNameEdit;
    QLineEdit* m_pDescEdit;
    bool m_bStoreFailed = false;
};
