// CommandHost: what the main form's commands need from the form they run on: its expense tree,
// the connection, a rebuild of the tree, the selection, the status bar and the owner of their
// dialogs. CQuillmarView implements it, so the commands call back into the form without
// knowing it.
#pragma once

#include "expensetree/ExpenseTree.h"

class CADODataBase;
class QString;
class QWidget;

class CommandHost {
public:
    virtual ~CommandHost() = default;
    virtual ExpenseTree& Tree() = 0;                      // the tree and its record sets
    virtual CADODataBase& Database() const = 0;           // the application's connection
    virtual void RefreshTree() = 0;                       // rebuilds every line
    virtual void SelectItem(ExpenseTree::Item item) = 0;  // null clears the selection
    virtual void ShowStatus(const QString& text) = 0;     // what a command just did
    virtual QWidget* DialogParent() = 0;                  // owner of dialogs and messages
};
