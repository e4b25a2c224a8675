// ExportCommand: File > Export... writes every expense, in the tree's current order, to a CSV
// file the user chooses. A file that cannot be written is reported with the reason, and any file
// that was there stays as it was.
#pragma once

#include "mainform/commands/ViewCommand.h"

class ExportCommand : public ViewCommand {
public:
    using ViewCommand::ViewCommand;
    void Run();
};
