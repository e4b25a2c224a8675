// The backup dialog, run from the main form.
#include "mainform/commands/BackupCommand.h"

#include <QDialog>

#include "document/CBackupDlg.h"

void BackupCommand::Run(const std::string& strCurrDB)
{
    CBackupDlg dialog(Host().Database(), strCurrDB, Host().DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return;
    Host().RefreshTree();  // the copy left the record sets closed
    if (!dialog.WrittenTo().empty())
        Host().ShowStatus(QString::fromStdString("Backup written to " + dialog.WrittenTo() + "."));
}
