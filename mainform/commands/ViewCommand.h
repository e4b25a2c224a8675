// ViewCommand: what every command of the main form works with: the form (owner of its dialogs,
// keeper of the selection), its expense tree, and the one way a command tells the user that
// the database refused a change.
#pragma once

#include <string>

#include "expensetree/ExpenseTree.h"

class CQuillmarView;
struct AdoFailure;

class ViewCommand {
public:
    explicit ViewCommand(CQuillmarView& view);
    ViewCommand(const ViewCommand&) = delete;
    ViewCommand& operator=(const ViewCommand&) = delete;

protected:
    CQuillmarView& View() const { return m_view; }
    ExpenseTree& Tree() const { return m_tree; }
    ExpenseTreeModel& Model() const { return m_tree.Model(); }
    // "<what>" and the engine's reason, in a stop box captioned with the program's name.
    void ReportFailure(const std::string& what, const AdoFailure& failure) const;

private:
    CQuillmarView& m_view;  // the form the command runs on
    ExpenseTree& m_tree;    // its tree and record sets
};
