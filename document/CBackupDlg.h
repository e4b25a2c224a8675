// CBackupDlg: "Create Backup of Database". It proposes the dated name beside the database, lets
// the user change it or browse for a file, refuses the database's own file, asks before replacing
// an existing file, and writes the compacted copy; when the copy cannot be written it says why.
// It closes with OK once a copy was attempted, so the caller re-opens what the copy closed.
#pragma once

#include <QDialog>
#include <string>
#include <utility>

class CADODataBase;
class QLineEdit;
class QPushButton;

class CBackupDlg : public QDialog {
    Q_OBJECT
public:
    // strCurrDB: the current database (empty: none, and only Cancel is usable).
    CBackupDlg(CADODataBase& db, const std::string& strCurrDB, QWidget* parent = nullptr);

    std::string m_strBackupName;  // the edit box: "Filename of backup:"
    // The file the copy was written to; empty when none was.
    const std::string& WrittenTo() const { return m_strWrittenTo; }

private:
    void OnInitDialog();
    void OnBrowse();
    void OnOK();

    CADODataBase& m_db;
    const std::string m_strCurrDB;
    QLineEdit* m_pNameEdit;
    QPushButton* m_pBrowseButton;
    QPushButton* m_pOkButton;
    std::string m_strWrittenTo;  // the target of a written copy
    std::pair<QString, std::string> m_browsed;  // the last path browsed to: as shown, as named
};
