// CDBOpenFileDlg: the open-file dialog for choosing an expense database, whose check box reads
// "Set as Default database" and starts ticked; its state when the dialog closes says whether the
// choice is remembered as the default database.
#pragma once

#include <string>

class QWidget;

class CDBOpenFileDlg {
public:
    explicit CDBOpenFileDlg(QWidget* parent) : m_parent(parent) {}

    bool DoModal();  // true when the user chose a file
    const std::string& GetPathName() const { return m_strPathName; }
    bool GetStoreAsDefault() const { return m_bStoreAsDefault; }

private:
    QWidget* m_parent;               // owner window
    std::string m_strPathName;       // full path of the chosen file
    bool m_bStoreAsDefault = true;   // the "Set as Default database" box
};
