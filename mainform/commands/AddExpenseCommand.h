// AddExpenseCommand: "Add New". The user enters an expense in the "Expense" dialog; its Save
// stores it as a new row and its line joins the tree where a rebuild would file it, with every
// sum above it updated, and is selected. A row that cannot be stored leaves the dialog open.
#pragma once

#include <string>

#include "mainform/commands/ViewCommand.h"

class ExpenseRow;

class AddExpenseCommand : public ViewCommand {
public:
    using ViewCommand::ViewCommand;
    void Run();

private:
    // False with the reason in why when the row cannot be stored.
    bool Store(const ExpenseRow& row, std::string& why);
};
