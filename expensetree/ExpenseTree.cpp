// The expense tree's record sets, rebuild and in-place operations.
#include "expensetree/ExpenseTree.h"

#include "expensetree/ExpenseTreeBuilder.h"
#include "database/ExpenseRow.h"
#include "database/ExpenseSchema.h"

ExpenseTree::ExpenseTree(CADODataBase& db)
    : m_db(db),
      m_rsExpenses(&db),
      m_rsTypes(&db),
      m_rsProjects(&db),
      m_rsStatus(&db),
      m_rsLineStatus(&db),
      m_model(std::make_unique<ExpenseTreeModel>())
{
    m_model->SetLineTextSource([this](Item line) {
        const std::unique_ptr<CExpTreeItem> data = Line(line);
        return data ? data->m_strText : std::string();
    });
}

ExpenseTree::~ExpenseTree() { Clear(); }

void ExpenseTree::Clear()
{
    m_model->DeleteAllItems();
    CloseRecordsets();
    m_findTexts.Clear();  // the rows are read again, and may have changed
}

void ExpenseTree::CloseRecordsets()
{
    m_rsExpenses.Close();
    m_rsTypes.Close();
    m_rsProjects.Close();
    m_rsStatus.Close();
    m_rsLineStatus.Close();
}

bool ExpenseTree::OpenRecordsets()
{
    const bool opened = ExpenseTreeBuilder(*this).OpenRecordsets();
    m_rsLineStatus.m_strSort = m_rsStatus.m_strSort;
    if (m_rsStatus.IsOpen())
        (void)m_rsLineStatus.OpenTable(schema::statuses::kTable);  // not open: lines show no status code
    return opened;
}

void ExpenseTree::Refresh(SortMode sortMode)
{
    m_model->BeginBulkBuild();
    Clear();
    m_sortMode = sortMode;
    if (OpenRecordsets())
        ExpenseTreeBuilder(*this).Walk();
    m_model->EndBulkBuild();
    KeepFindTexts();
}

bool ExpenseTree::Reopen()
{
    CloseRecordsets();
    m_findTexts.Clear();
    const bool opened = OpenRecordsets();
    KeepFindTexts();
    return opened;
}

void ExpenseTree::ChangeSortMode(SortMode sortMode)
{
    const bool readable = m_rsExpenses.IsOpen() && m_rsTypes.IsOpen() && m_rsProjects.IsOpen() &&
                          m_rsStatus.IsOpen() && m_rsLineStatus.IsOpen();
    if (!readable || !m_rsExpenses.SetSort(ExpenseTreeBuilder::SortOf(sortMode), true)) {
        Refresh(sortMode);
        return;
    }
    m_sortMode = sortMode;
    Rewalk();
}

void ExpenseTree::Rewalk()
{
    m_model->BeginBulkBuild();
    m_model->DeleteAllItems();
    ExpenseTreeBuilder(*this).Walk();
    m_model->EndBulkBuild();
}

void ExpenseTree::SetFilter(ExpenseFilter filter)
{
    m_filter = std::move(filter);
    const bool readable = m_rsExpenses.IsOpen() && m_rsTypes.IsOpen() && m_rsProjects.IsOpen() &&
                          m_rsStatus.IsOpen() && m_rsLineStatus.IsOpen();
    if (!readable)
        return;  // the next Refresh builds with it
    m_rsExpenses.MoveFirst();
    Rewalk();
}

bool ExpenseTree::Shows(const ExpenseRow& row) const { return m_filter.Matches(row); }

std::int64_t ExpenseTree::CurrentRowId() const
{
    const ole::Variant bookmark = m_rsExpenses.GetBookmark();
    return bookmark.get<ole::Bookmark>()->id;
}

bool ExpenseTree::CurrentRowShows()
{
    if (m_filter.IsEmpty())
        return true;
    const std::int64_t rowId = CurrentRowId();
    std::optional<ExpenseFilter::SearchText> texts = m_findTexts.Get(rowId);
    if (!texts) {
        m_findTexts.Put(rowId, ExpenseRow::Read(m_rsExpenses, ExpenseFilter::kColumns));
        texts = m_findTexts.Get(rowId);
    }
    return m_filter.Matches(*texts);
}

void ExpenseTree::SetFindOpen(bool open)
{
    m_bFindOpen = open;
    if (open)
        KeepFindTexts();
    else
        m_findTexts.Clear();
}

void ExpenseTree::KeepFindTexts()
{
    if (!m_bFindOpen || !m_findTexts.IsEmpty() || !m_rsExpenses.IsOpen())
        return;
    m_findTexts.Reserve(static_cast<std::size_t>(m_rsExpenses.GetRecordCount()));
    for (m_rsExpenses.MoveFirst(); !m_rsExpenses.IsEOF(); m_rsExpenses.MoveNext())
        m_findTexts.Put(CurrentRowId(), ExpenseRow::Read(m_rsExpenses, ExpenseFilter::kColumns));
}

std::size_t ExpenseTree::CountLines(Item parent) const
{
    std::size_t count = 0;
    for (Item child = m_model->GetChildItem(parent); child; child = m_model->GetNextSiblingItem(child))
        count += IsLine(child) ? 1 : CountLines(child);
    return count;
}

std::size_t ExpenseTree::LineCount() const { return CountLines(nullptr); }

long ExpenseTree::RowCount() const { return m_rsExpenses.IsOpen() ? m_rsExpenses.GetRecordCount() : 0; }

ExpenseRow ExpenseTree::CurrentRow()
{
    return ExpenseRow::Read(m_rsExpenses, CExpTreeItem::kTreeColumns | ExpenseFilter::kColumns);
}

std::unique_ptr<CExpTreeItem> ExpenseTree::MakeLine(ExpenseRow row)
{
    auto bookmark = std::make_unique<ole::Variant>(m_rsExpenses.GetBookmark());
    if (!m_findTexts.IsEmpty())
        m_findTexts.Put(bookmark->get<ole::Bookmark>()->id, row);
    return std::make_unique<CExpTreeItem>(std::move(row), m_rsStatus, std::move(bookmark), m_sortMode);
}

ExpenseTree::Item ExpenseTree::AddLine(Item parent) { return m_model->InsertLine(m_rsExpenses.GetBookmark(), parent); }

std::unique_ptr<CExpTreeItem> ExpenseTree::Line(Item line)
{
    if (!IsLine(line) || !m_rsExpenses.IsOpen())
        return nullptr;
    const ole::Variant bookmark = m_model->LineBookmark(line);
    ExpenseRow row;
    {
        const CAdoRecordset::RowPeek peek(m_rsExpenses, bookmark);
        if (!peek.Valid())
            return nullptr;
        row = ExpenseRow::Read(m_rsExpenses, CExpTreeItem::kTreeColumns);
    }
    const bool updated = m_model->LineUpdatedInPlace(line);
    auto data = std::make_unique<CExpTreeItem>(ExpenseRow(row), m_rsLineStatus,
                                               std::make_unique<ole::Variant>(bookmark), m_sortMode);
    if (updated) {
        data->UpdateFromRecord(row, m_rsLineStatus);
        data->FormatText(m_sortMode);
    }
    return data;
}

void ExpenseTree::LineUpdated(Item line)
{
    m_model->SetLineUpdatedInPlace(line);
    m_model->RefreshItem(line);
}

ExpenseTree::Item ExpenseTree::InsertGroup(std::uint32_t nKind, const ExpenseRow& row, Item parent, Item after)
{
    return m_model->InsertItem(std::make_unique<CExpTreeItem>(nKind, row, m_rsTypes, m_rsProjects), parent, after);
}

ExpenseTree::Item ExpenseTree::FinishGroupAndStartNext(Item current, std::uint32_t nKind, const ExpenseRow& row,
                                                       Item parent)
{
    ReShow(current);
    return InsertGroup(nKind, row, parent);
}

void ExpenseTree::ReShow(Item item)
{
    if (CExpTreeItem* data = Data(item))
        data->FormatText(m_sortMode);
    m_model->RefreshItem(item);  // a line's text is made when it is shown
}

ExpenseTree::Item ExpenseTree::FindTopLevelGroup(const CExpTreeItem& line) const
{
    for (Item item = m_model->GetRootItem(); item; item = m_model->GetNextSiblingItem(item))
        if (Data(item)->MatchesLine(line))
            return item;
    return nullptr;
}

ExpenseTree::Item ExpenseTree::FindGroupPosition(const CExpTreeItem& newGroup) const
{
    Item first = m_model->GetRootItem();
    if (first && Data(first)->SortsAfter(newGroup))
        return ExpenseTreeModel::kFirst;
    Item lastBefore = nullptr;
    for (Item item = first; item; item = m_model->GetNextSiblingItem(item)) {
        if (Data(item)->SortsAfter(newGroup))
            return lastBefore;
        lastBefore = item;
    }
    return ExpenseTreeModel::kLast;
}

ExpenseTree::Item ExpenseTree::FindCategoryGroup(Item group, const std::string& category) const
{
    for (Item item = m_model->GetChildItem(group); item; item = m_model->GetNextSiblingItem(item)) {
        const CExpTreeItem* data = Data(item);
        if (!data || data->m_nKind != CExpTreeItem::CategoryGroup)
            break;
        if (data->m_strCategory == category)
            return item;
    }
    return nullptr;
}

ExpenseTree::Item ExpenseTree::TopLevelOf(Item item) const
{
    while (Item parent = m_model->GetParentItem(item))
        item = parent;
    return item;
}

bool ExpenseTree::HasCategoryChildren(Item group) const
{
    const Item first = m_model->GetChildItem(group);
    return first && Data(first) && Data(first)->m_nKind == CExpTreeItem::CategoryGroup;
}

ExpenseTree::Item ExpenseTree::PlaceLine(std::unique_ptr<CExpTreeItem> line, const ExpenseRow& row)
{
    if (!Shows(row))
        return nullptr;
    Item group = FindTopLevelGroup(*line);
    if (!group) {
        // Until the next rebuild a new group is a TypeGroup whatever its type.
        auto newGroup = std::make_unique<CExpTreeItem>(CExpTreeItem::TypeGroup, row, m_rsTypes, m_rsProjects);
        const Item position = FindGroupPosition(*newGroup);
        group = m_model->InsertItem(std::move(newGroup), nullptr, position);
    }
    Data(group)->AddRecord(row);
    Item parent = group;
    if (m_sortMode == SortMode::ByCategory) {
        parent = FindCategoryGroup(group, line->m_strCategory);
        if (!parent)
            parent = InsertGroup(CExpTreeItem::CategoryGroup, row, group);
        Data(parent)->AddRecord(row);
    }
    const Item placed = m_model->InsertItem(std::move(line), parent);
    ReShow(group);
    if (parent != group)
        ReShow(parent);
    return placed;
}

template <typename Subtract>
void ExpenseTree::RemoveLineWith(Item line, Subtract subtract)
{
    const Item parent = m_model->GetParentItem(line);
    const Item grandparent = m_model->GetParentItem(parent);
    for (const Item above : {parent, grandparent})
        if (above)
            subtract(*Data(above));
    m_model->DeleteItem(line);
    for (const Item above : {parent, grandparent}) {
        if (!above)
            continue;
        if (m_model->ItemHasChildren(above))
            ReShow(above);
        else
            m_model->DeleteItem(above);
    }
}

void ExpenseTree::RemoveLine(Item line, const ExpenseRow& row)
{
    RemoveLineWith(line, [&row](CExpTreeItem& group) { group.SubtractRecord(row); });
}

void ExpenseTree::RemoveLine(Item line, const CExpTreeItem& shown)
{
    RemoveLineWith(line, [&shown](CExpTreeItem& group) { group.SubtractChild(shown); });
}
