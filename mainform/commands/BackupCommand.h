// BackupCommand: File > Create Backup... runs "Create Backup of Database" on the current
// database. The copy closes and re-opens the connection, so the tree is read again afterwards.
#pragma once

#include <string>

#include "mainform/commands/ViewCommand.h"

class BackupCommand : public ViewCommand {
public:
    using ViewCommand::ViewCommand;
    void Run(const std::string& strCurrDB);
};
