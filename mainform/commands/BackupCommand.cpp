// The backup dialog, run from the main form.
#include "mainform/commands/BackupCommand.h"

#include <QDialog>

#include "mainform/CQuillmarView.h"
#include "document/CBackupDlg.h"

void BackupCommand::Run(const std::string& strCurrDB)
{
    CBackupDlg dialog(View().Database(), strCurrDB, &View());
    if (dialog.exec() != QDialog::Accepted)
        return;
    View().RefreshTree();  // the copy left the record sets closed
    if (!dialog.WrittenTo().empty())
        View().ShowStatus(QString::fromStdString("Backup written to " + dialog.WrittenTo() + "."));
}
