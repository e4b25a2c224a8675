// The one-pass build of the expense tree.
#include "expensetree/ExpenseTreeBuilder.h"

#include "database/ExpenseRow.h"
#include "database/ExpenseSchema.h"

const char* ExpenseTreeBuilder::SortOf(SortMode sortMode)
{
    return sortMode == SortMode::ByCategory ? schema::expenses::kSortByCategory : schema::expenses::kSortByDate;
}

bool ExpenseTreeBuilder::OpenRecordsets()
{
    if (!m_tree.Types().OpenTable(schema::types::kTable) || !m_tree.Projects().OpenTable(schema::projects::kTable))
        return false;
    CAdoRecordset& statuses = m_tree.Statuses();
    statuses.m_strSort = "Status ASC";
    if (!statuses.OpenTable(schema::statuses::kTable))
        return false;
    CAdoRecordset& expenses = m_tree.Expenses();
    expenses.m_strSort = SortOf(m_tree.CurrentSortMode());
    return expenses.OpenTable(schema::expenses::kTable);
}

void ExpenseTreeBuilder::Walk()
{
    CAdoRecordset& expenses = m_tree.Expenses();
    const bool byCategory = m_tree.CurrentSortMode() == SortMode::ByCategory;
    ExpenseTree::Item group = nullptr;
    ExpenseTree::Item category = nullptr;
    for (; !expenses.IsEOF(); expenses.MoveNext()) {
        // Find looks at the texts it searches first; what the groups need is read only for a match.
        if (!m_tree.CurrentRowShows())
            continue;
        const ExpenseRow row = ExpenseRow::Read(expenses, CExpTreeItem::kGroupColumns);
        if (!group || m_tree.Data(group)->EndsBefore(row)) {
            const std::uint32_t kind = CExpTreeItem::TopLevelKindOf(row.m_nExpType);
            group = group ? m_tree.FinishGroupAndStartNext(group, kind, row, nullptr)
                          : m_tree.InsertGroup(kind, row, nullptr);
            if (byCategory)
                category = category ? m_tree.FinishGroupAndStartNext(category, CExpTreeItem::CategoryGroup, row, group)
                                    : m_tree.InsertGroup(CExpTreeItem::CategoryGroup, row, group);
        }
        m_tree.Data(group)->AddRecord(row);
        if (byCategory) {
            if (row.m_strExpCat != m_tree.Data(category)->m_strCategory)
                category = m_tree.FinishGroupAndStartNext(category, CExpTreeItem::CategoryGroup, row, group);
            m_tree.Data(category)->AddRecord(row);
        }
        m_tree.AddLine(byCategory ? category : group);
    }
    m_tree.ReShow(group);
    m_tree.ReShow(category);
}
