// RestateStatusCommand: a double-click on a group or category of a reimbursable type asks, in
// "Update Status", from which billing status to which its lines are re-stated. Each matching row
// is stored at once; a row the database refuses ends the command with a message, and the sums
// shown are those of the rows as stored.
#pragma once

#include <cstdint>

#include "mainform/commands/ViewCommand.h"

class RestateStatusCommand : public ViewCommand {
public:
    using ViewCommand::ViewCommand;
    void Run(ExpenseTree::Item group);

private:
    bool ChangeStatusOfLines(ExpenseTree::Item first, std::int16_t nFrom, std::int16_t nTo);
    void RecomputeFromLines(ExpenseTree::Item group);
};
