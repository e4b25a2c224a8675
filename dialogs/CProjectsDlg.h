// CProjectsDlg: "Projects List", the projects by ID with name and description, over the main
// form's project record set. "New Proj..." proposes the next ID; a double click (or Enter)
// edits in "Project Detail" and moves the row to its ID's place; "Delete" removes a project,
// asking first when expenses are charged to it. Every change is stored at once.
#pragma once

#include <QDialog>
#include <cstdint>

class CAdoRecordset;
class CLookupList;
class QPushButton;

class CProjectsDlg : public QDialog {
    Q_OBJECT
public:
    // projects: the main form's Projects record set (not owned); its sort becomes "ProjectID".
    CProjectsDlg(CAdoRecordset& projects, QWidget* parent = nullptr);

    bool Changed() const { return m_bChanged; }  // a change was stored
    CLookupList* List() const { return m_pList; }

private:
    void OnInitDialog();
    void Fill(bool bReread = false);
    void InsertRow(int nIndex, bool bSelect);
    int PositionFor(std::int32_t lProjectID) const;
    void OnNew();
    void OnEdit(int nRow);
    void OnDelete();
    bool ConfirmDelete();
    void AfterSave(int nRemoveRow);
    bool IsCurrent();

    CLookupList* m_pList;
    QPushButton* m_pDeleteButton;
    CAdoRecordset* m_pRecordset;  // the form's, not owned
    bool m_bChanged = false;
    int m_nSelected = -1;
};
