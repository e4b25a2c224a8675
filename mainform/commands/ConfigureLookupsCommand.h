// ConfigureLookupsCommand: the Configure menu's editors of the lookup tables: accounts, expense
// types and categories, and projects. Each stores its changes as they are made; when one closes
// after a change the tree is rebuilt, so its group names and type numbers are those stored.
#pragma once

#include "mainform/commands/ViewCommand.h"

class ConfigureLookupsCommand : public ViewCommand {
public:
    using ViewCommand::ViewCommand;
    void Accounts();
    void Categories();
    void Projects();

private:
    void AfterEditor(bool bChanged);
};
