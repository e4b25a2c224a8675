// EditExpenseCommand: a double-click on an expense line opens "Edit Expense" on its row. After a
// stored change the sums of the line's groups follow; in "Sort by Category" a new category moves
// the line to that category's group, and a date in another year moves it to that year's group.
#pragma once

#include "mainform/commands/ViewCommand.h"

class ExpenseRow;

class EditExpenseCommand : public ViewCommand {
public:
    using ViewCommand::ViewCommand;
    void Run(ExpenseTree::Item line);

private:
    // data: the line as it was shown before the edit; row: the row as stored now.
    void FollowChange(ExpenseTree::Item line, const CExpTreeItem& data, const ExpenseRow& row);
};
