// ImportCommand: File > Import... reads a CSV file the user chooses, shows what it would add in
// "Import Expenses", and stores the ticked rows in one transaction: all of them, or none with the
// reason. The tree is then built again and the status bar says how many were imported.
#pragma once

#include "mainform/commands/ViewCommand.h"

class ImportCommand : public ViewCommand {
public:
    using ViewCommand::ViewCommand;
    void Run();
};
