// File > Import...
#include "mainform/commands/ImportCommand.h"

#include <memory>

#include "dialogs/CImportDlg.h"
#include "platform/fs/WholeFile.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WaitCursor.h"

void ImportCommand::Run()
{
    ui::FileDialog::Request request;
    request.title = "Import Expenses";
    request.filter = "Expenses (*.csv; *.txt; *.ofx; *.qfx)|*.csv;*.txt;*.ofx;*.qfx|All Files (*.*)|*.*||";
    request.mustExist = true;
    const auto chosen = ui::FileDialog::Run(Host().DialogParent(), request);
    if (!chosen)
        return;
    std::string bytes;
    if (!files::ReadWholeFile(chosen->NativePath(), bytes)) {
        ui::MessageBox::Show(Host().DialogParent(), "The file " + chosen->path + " cannot be read.", {}, ui::MessageBox::Buttons::Ok,
                             ui::MessageBox::Icon::Stop);
        return;
    }
    std::unique_ptr<CImportDlg> dialog;
    {
        const ui::WaitCursor wait;  // a file of many thousand lines takes seconds to read and lay out
        dialog = std::make_unique<CImportDlg>(Tree().Database(), bytes, chosen->NativePath(), Host().DialogParent());
    }
    if (dialog->exec() != QDialog::Accepted)
        return;
    long stored = 0;
    std::string error;
    bool imported = false;
    {
        const ui::WaitCursor wait;
        imported = dialog->Import().Store(dialog->Rows(), stored, error);
        Host().RefreshTree();  // built again either way: a refused import left the rows as they were
    }
    if (!imported) {
        ui::MessageBox::Show(Host().DialogParent(),
                             QString::fromStdString("The expenses could not be imported: " + error + ". Nothing was imported."), {},
                             ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
        return;
    }
    Host().ShowStatus(QString("Imported %1 %2 from %3.").arg(stored).arg(stored == 1 ? "expense" : "expenses", chosen->path));
}
