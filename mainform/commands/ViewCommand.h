// ViewCommand: what every command of the main form works with: the form as its CommandHost
// (owner of its dialogs, keeper of the selection), its expense tree, and the one way a command
// tells the user that the database refused a change.
#pragma once

#include <string>

#include "expensetree/ExpenseTree.h"
#include "mainform/commands/CommandHost.h"

struct AdoFailure;

class ViewCommand {
public:
    explicit ViewCommand(CommandHost& host);
    ViewCommand(const ViewCommand&) = delete;
    ViewCommand& operator=(const ViewCommand&) = delete;

protected:
    CommandHost& Host() const { return m_host; }
    ExpenseTree& Tree() const { return m_tree; }
    ExpenseTreeModel& Model() const { return m_tree.Model(); }
    // "<what>" and the engine's reason, in a stop box captioned with the program's name.
    void ReportFailure(const std::string& what, const AdoFailure& failure) const;

private:
    CommandHost& m_host;    // the form the command runs on
    ExpenseTree& m_tree;    // its tree and record sets
};
