// CAccountsDlg: "Accounts List", the accounts by code with their descriptions. "New Acct..."
// and a double click (or Enter) open "How Paid"; "Delete" removes the selected account and is
// never enabled for the last one. Every change is stored at once.
#pragma once

#include <QDialog>

#include "dbaccess/CAdoRecordset.h"

class CADODataBase;
class CLookupList;
class QPushButton;

class CAccountsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAccountsDlg(CADODataBase& db, QWidget* parent = nullptr);
    ~CAccountsDlg() override;

    bool Changed() const { return m_bChanged; }  // a change was stored
    CLookupList* List() const { return m_pList; }

private:
    void OnInitDialog();
    void Fill();
    void AddRow(int nIndex, bool bSelect);
    void OnSelectionChanged();
    void OnEdit(int nRow);
    void OnNew();
    void OnDelete();
    bool IsCurrent();

    CLookupList* m_pList;
    QPushButton* m_pDeleteButton;
    CAdoRecordset m_rs;        // lkpAccounts, sorted by code
    int m_nSelected = -1;      // the selected list row
    bool m_bChanged = false;
};
