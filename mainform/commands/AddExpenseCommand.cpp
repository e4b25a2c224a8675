// Add New.
#include "mainform/commands/AddExpenseCommand.h"

#include "database/ExpenseRow.h"
#include "dialogs/CExpenseDlg.h"

void AddExpenseCommand::Run()
{
    CExpenseDlg dialog(Tree().Database(), Host().DialogParent());
    dialog.SetStore([this](const ExpenseRow& row, std::string& why) { return Store(row, why); });
    dialog.exec();
}

bool AddExpenseCommand::Store(const ExpenseRow& row, std::string& why)
{
    // The record set is the one open now: a HotSync during the dialog opened it again.
    CAdoRecordset& expenses = Tree().Expenses();
    if (!expenses.IsOpen()) {
        why = expenses.ClosedReason();
        return false;
    }
    Host().SelectItem(nullptr);
    if (!row.StoreNew(expenses)) {
        why = expenses.LastFailure().description;
        return false;
    }
    const ole::Variant bookmark = expenses.GetBookmark();
    expenses.MoveFirst();
    if (!expenses.SetBookmark(bookmark)) {
        Host().RefreshTree();  // stored but not found again: the tree is read afresh instead
        return true;
    }
    const ExpenseRow stored = Tree().CurrentRow();
    Host().SelectItem(Tree().PlaceLine(Tree().MakeLine(stored), stored));
    return true;
}
