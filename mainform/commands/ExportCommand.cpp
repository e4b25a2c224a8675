// Export to CSV from the main form.
#include "mainform/commands/ExportCommand.h"


#include "database/CsvExport.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WaitCursor.h"

void ExportCommand::Run()
{
    CAdoRecordset& expenses = Tree().Expenses();
    if (!expenses.IsOpen() || expenses.GetRecordCount() == 0)
        return;
    ui::FileDialog::Request request;
    request.save = true;
    request.filter = "Text Files (*.csv; *.txt)|*.csv;*.txt|All Files (*.*)|*.*||";
    request.defaultExtension = "csv";
    request.initialName = "expenses.csv";
    request.confirmOverwrite = true;
    const auto chosen = ui::FileDialog::Run(Host().DialogParent(), request);
    if (!chosen)
        return;
    std::string error;
    long rows = 0;
    bool written = false;
    {
        const ui::WaitCursor busy;
        written = CsvExport(Tree().Types(), Tree().Projects(), Tree().Statuses())
                      .Write(expenses, chosen->NativePath(), error, &rows);
    }
    if (!written) {
        ui::MessageBox::Show(Host().DialogParent(),
                             QString::fromStdString("Unable to create export file\n" + error), {},
                             ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
        return;
    }
    Host().ShowStatus(QString("Exported %1 %2 to %3.").arg(rows).arg(rows == 1 ? "expense" : "expenses", chosen->path));
}
