// ExpenseTree: the expense tree without its widgets. It owns the four record sets the tree is
// built from and kept in step with (Expenses, lkpExpTypes, Projects, lkpExpBillStatus), the item
// model the tree view shows, and the sort mode; it rebuilds the whole tree and offers the
// operations the view commands change it with in place, keeping every group's sums right.
// An expense line holds only its row's bookmark: its object and text are made from the row
// when they are needed, so they are always the row's as the line would show it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dbaccess/CAdoRecordset.h"
#include "expensetree/ExpenseFilter.h"
#include "expensetree/FindTexts.h"
#include "expensetree/ExpenseTreeModel.h"
#include "expensetree/SortMode.h"

class CADODataBase;
class ExpenseRow;

class ExpenseTree {
public:
    using Item = ExpenseTreeModel::Item;

    explicit ExpenseTree(CADODataBase& db);
    ~ExpenseTree();
    ExpenseTree(const ExpenseTree&) = delete;
    ExpenseTree& operator=(const ExpenseTree&) = delete;

    // Empties the tree, re-opens the record sets and builds every line in the sort mode.
    void Refresh(SortMode sortMode);
    // Builds every line again in the other sort mode from the rows already read (re-sorted in
    // memory), which a rebuild would read again; a full Refresh when the record sets are closed.
    void ChangeSortMode(SortMode sortMode);
    // Empties the tree and closes the record sets.
    void Clear();
    // Opens the record sets again on a re-opened database, keeping every item: a line names its
    // row by bookmark, which the new read still resolves while the row exists. Sums stay as they
    // were until the next Refresh. False when a record set cannot be opened.
    bool Reopen();

    // Find: only the expenses the filter matches get lines, and only groups with such lines are
    // made, so every group's sums are those of its matching lines. Setting it builds the lines
    // again from the rows already read; with the record sets closed, the next Refresh uses it.
    void SetFilter(ExpenseFilter filter);
    const ExpenseFilter& Filter() const { return m_filter; }
    // Whether a row (read with the filter's columns) gets a line under the current filter.
    bool Shows(const ExpenseRow& row) const;
    // Whether the row the record set stands on gets a line: its searched texts are kept in
    // memory after the first read, so a later text compares bytes only.
    bool CurrentRowShows();
    // While the find bar is open every row's searched texts are kept (read now, and again after
    // each Refresh), so even the first keystroke reads no row; closing it frees them.
    void SetFindOpen(bool open);
    // The expense lines in the tree, and the rows of Expenses (0 when it is closed).
    std::size_t LineCount() const;
    long RowCount() const;

    ExpenseTreeModel& Model() { return *m_model; }
    const ExpenseTreeModel& Model() const { return *m_model; }
    SortMode CurrentSortMode() const { return m_sortMode; }
    CADODataBase& Database() const { return m_db; }
    CAdoRecordset& Expenses() { return m_rsExpenses; }
    CAdoRecordset& Types() { return m_rsTypes; }
    CAdoRecordset& Projects() { return m_rsProjects; }
    CAdoRecordset& Statuses() { return m_rsStatus; }
    CExpTreeItem* Data(Item item) const { return m_model->GetItemData(item); }  // groups only
    bool IsLine(Item item) const { return m_model->IsLine(item); }
    // An expense line's object, made from its row as the line shows it (with its text); null
    // when the row cannot be read.
    std::unique_ptr<CExpTreeItem> Line(Item line);
    // After a line's row changed in place: it shows the row again, as an in-place update does.
    void LineUpdated(Item line);

    // The expense row the record set stands on, with the columns the tree shows.
    ExpenseRow CurrentRow();
    // A new line object for the current row (its bookmark copied), not yet in the tree. The row
    // has just been stored (Add New, Edit): Find's kept texts take it too.
    std::unique_ptr<CExpTreeItem> MakeLine(ExpenseRow row);
    // A group of the given kind for a row, inserted under parent (null: the root) after a sibling.
    Item InsertGroup(std::uint32_t nKind, const ExpenseRow& row, Item parent, Item after = ExpenseTreeModel::kLast);
    // Adds a line for the current row as the last child of parent, without reading the row.
    Item AddLine(Item parent);
    // Shows the finished group's text and starts the next one of the given kind.
    Item FinishGroupAndStartNext(Item current, std::uint32_t nKind, const ExpenseRow& row, Item parent);
    // Formats an item's text and lets the view show it.
    void ReShow(Item item);

    Item FindTopLevelGroup(const CExpTreeItem& line) const;
    Item FindGroupPosition(const CExpTreeItem& newGroup) const;
    Item FindCategoryGroup(Item group, const std::string& category) const;
    // The top-level group an item belongs to (itself for a top-level group).
    Item TopLevelOf(Item item) const;
    bool HasCategoryChildren(Item group) const;

    // Puts a line for a stored row where a rebuild would file it: into its group (made, among the
    // groups in order, when there is none) and in "Sort by Category" its category group (made at
    // the group's end when there is none), adding the row to their sums. Answers the line; a row
    // the filter does not match gets no line, as in a rebuild, and null is answered.
    Item PlaceLine(std::unique_ptr<CExpTreeItem> line, const ExpenseRow& row);
    // Takes a line out of the tree: the row's amounts leave the sums of the groups above it (as
    // they were added, by status number), and a group left without children goes too.
    void RemoveLine(Item line, const ExpenseRow& row);
    // The same for a line whose row has changed since: the amounts it showed leave the sums.
    void RemoveLine(Item line, const CExpTreeItem& shown);

private:
    template <typename Subtract> void RemoveLineWith(Item line, Subtract subtract);
    void Rewalk();
    void KeepFindTexts();
    std::int64_t CurrentRowId() const;
    std::size_t CountLines(Item parent) const;
    void CloseRecordsets();
    bool OpenRecordsets();

    CADODataBase& m_db;                        // the application's connection
    CAdoRecordset m_rsExpenses;                // Expenses, open while the tree is shown
    CAdoRecordset m_rsTypes;                   // lkpExpTypes
    CAdoRecordset m_rsProjects;                // Projects
    CAdoRecordset m_rsStatus;                  // lkpExpBillStatus, sorted by Status
    CAdoRecordset m_rsLineStatus;              // the same, for line texts only: painting never
                                               // moves a record set a dialog may be using
    std::unique_ptr<ExpenseTreeModel> m_model; // the tree's items
    SortMode m_sortMode = SortMode::ByDate;    // the order the lines are built in
    ExpenseFilter m_filter;                    // Find: the rows that get lines
    FindTexts m_findTexts;                     // Find: every row's searched texts, by row id
    bool m_bFindOpen = false;                  // the find bar shows: keep them all
};
