// DeleteCommand: "Delete" on the selected line, category or group. After the user confirms, the
// rows go one by one and the tree follows each stored deletion: a row the database refuses keeps
// its line, the sums stay those of the rows still stored, and the user learns why. After a line
// the next line of its group (or the one before) is selected, so Delete can go on line by line;
// deleting a whole category or group defaults to No.
#pragma once

#include <vector>

#include "mainform/commands/ViewCommand.h"

class DeleteCommand : public ViewCommand {
public:
    using ViewCommand::ViewCommand;
    void Run(ExpenseTree::Item selected);

private:
    void DeleteLine(ExpenseTree::Item line);
    void DeleteLinesUnder(ExpenseTree::Item group);
    std::vector<ExpenseTree::Item> LinesUnder(ExpenseTree::Item group) const;
    ExpenseTree::Item NeighbourLine(ExpenseTree::Item line) const;
    bool DeleteRow(ExpenseTree::Item line);
    bool Ask(const std::string& question, bool bDefaultNo) const;
};
