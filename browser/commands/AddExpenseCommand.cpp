// Add New.
#include "browser/commands/AddExpenseCommand.h"

#include <QDialog>

#include "browser/CQuillmarView.h"
#include "database/ExpenseRow.h"
#include "dialogs/CExpenseDlg.h"

void AddExpenseCommand::Run()
{
    CExpenseDlg dialog(Tree().Database(), &View());
    if (dialog.exec() != QDialog::Accepted)
        return;
    View().SelectItem(nullptr);
    CAdoRecordset& expenses = Tree().Expenses();
    if (!dialog.Row().StoreNew(expenses)) {
        ReportFailure("The expense could not be saved.", expenses.LastFailure());
        return;
    }
    const ole::Variant bookmark = expenses.GetBookmark();
    expenses.MoveFirst();
    expenses.SetBookmark(bookmark);
    const ExpenseRow row = Tree().CurrentRow();
    View().SelectItem(Tree().PlaceLine(Tree().MakeLine(row), row));
}
