// ExpenseTreeBuilder: builds the whole expense tree in one forward pass over the Expenses record
// set sorted by type, project or year, and date or category. Runs of consecutive rows with the
// same key make a top-level group (a tax year, an estimated-tax year, or a type with its project
// or year); in "Sort by Category" each run of one category makes a category group below it.
// Every row gets a line: rows of a type without a lookup row, or of a system type other than the
// two tax types, are grouped like any other type, never left out.
#pragma once

#include "expensetree/ExpenseTree.h"

class ExpenseTreeBuilder {
public:
    explicit ExpenseTreeBuilder(ExpenseTree& tree) : m_tree(tree) {}

    // Opens the four record sets, Expenses sorted for the tree's sort mode; false when one
    // cannot be opened.
    bool OpenRecordsets();
    // Builds every line from the open, sorted Expenses record set, from its current row on.
    void Walk();

    // The Expenses order of a sort mode.
    static const char* SortOf(SortMode sortMode);

private:
    ExpenseTree& m_tree;  // the tree being built
};
