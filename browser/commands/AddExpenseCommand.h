// AddExpenseCommand: "Add New". The user enters an expense in the "Expense" dialog; it is stored
// as a new row and its line joins the tree where a rebuild would file it, with every sum above
// it updated, and is selected.
#pragma once

#include "browser/commands/ViewCommand.h"

class AddExpenseCommand : public ViewCommand {
public:
    using ViewCommand::ViewCommand;
    void Run();
};
