// Tree items and their model for the tree view.
#include "expensetree/ExpenseTreeModel.h"

#include <QString>

ExpenseTreeModel::Item const ExpenseTreeModel::kFirst = reinterpret_cast<ExpenseTreeModel::Item>(std::uintptr_t(1));
ExpenseTreeModel::Item const ExpenseTreeModel::kLast = reinterpret_cast<ExpenseTreeModel::Item>(std::uintptr_t(2));

ExpenseTreeModel::ExpenseTreeModel(QObject* parent) : QAbstractItemModel(parent), m_root(std::make_unique<Node>()) {}

ExpenseTreeModel::~ExpenseTreeModel() = default;

std::vector<std::unique_ptr<ExpenseTreeModel::Node>>& ExpenseTreeModel::ChildrenOf(Item parent) const
{
    return (parent ? parent : m_root.get())->children;
}

void ExpenseTreeModel::Renumber(Item parent, std::size_t from) const
{
    auto& children = ChildrenOf(parent);
    for (std::size_t i = from; i < children.size(); ++i)
        children[i]->row = static_cast<int>(i);
}

ExpenseTreeModel::Item ExpenseTreeModel::InsertItem(std::unique_ptr<CExpTreeItem> data, Item parent, Item after)
{
    if (data && !data->IsGroup())
        return InsertLine(data->m_pBookmark ? *data->m_pBookmark : ole::Variant(), parent, after);
    auto node = std::make_unique<Node>();
    node->data = std::move(data);
    return Insert(std::move(node), parent, after);
}

ExpenseTreeModel::Item ExpenseTreeModel::InsertLine(const ole::Variant& bookmark, Item parent, Item after)
{
    auto node = std::make_unique<Node>();
    const auto* mark = bookmark.get<ole::Bookmark>();
    node->lineId = mark ? mark->id : 0;
    return Insert(std::move(node), parent, after);
}

ExpenseTreeModel::Item ExpenseTreeModel::Insert(std::unique_ptr<Node> node, Item parent, Item after)
{
    Node* owner = parent ? parent : m_root.get();
    auto& children = owner->children;
    std::size_t position = children.size();
    if (after == kFirst)
        position = 0;
    else if (after != kLast && after && after->parent == owner)
        position = static_cast<std::size_t>(after->row) + 1;

    node->parent = owner;
    Item item = node.get();
    if (!m_bulk)
        beginInsertRows(IndexOf(parent), static_cast<int>(position), static_cast<int>(position));
    children.insert(children.begin() + static_cast<long>(position), std::move(node));
    Renumber(parent, position);
    ++m_itemCount;
    if (!m_bulk)
        endInsertRows();
    return item;
}

std::size_t ExpenseTreeModel::CountItems(const Node& node) const
{
    std::size_t count = 1;
    for (const auto& child : node.children)
        count += CountItems(*child);
    return count;
}

void ExpenseTreeModel::DeleteItem(Item item)
{
    if (!item || item == m_root.get())
        return;
    Node* owner = item->parent;
    Item parent = owner == m_root.get() ? nullptr : owner;
    const int row = item->row;
    if (!m_bulk)
        beginRemoveRows(IndexOf(parent), row, row);
    m_itemCount -= CountItems(*item);
    owner->children.erase(owner->children.begin() + row);
    Renumber(parent, static_cast<std::size_t>(row));
    if (!m_bulk)
        endRemoveRows();
}

void ExpenseTreeModel::DeleteAllItems()
{
    if (!m_bulk)
        beginResetModel();
    m_root->children.clear();
    m_itemCount = 0;
    if (!m_bulk)
        endResetModel();
}

void ExpenseTreeModel::RefreshItem(Item item)
{
    if (m_bulk || !item)
        return;
    const QModelIndex index = IndexOf(item);
    emit dataChanged(index, index, {Qt::DisplayRole});
}

void ExpenseTreeModel::BeginBulkBuild()
{
    beginResetModel();
    m_bulk = true;
}

void ExpenseTreeModel::EndBulkBuild()
{
    m_bulk = false;
    endResetModel();
}

ExpenseTreeModel::Item ExpenseTreeModel::GetRootItem() const { return GetChildItem(nullptr); }

ExpenseTreeModel::Item ExpenseTreeModel::GetParentItem(Item item) const
{
    return item && item->parent != m_root.get() ? item->parent : nullptr;
}

ExpenseTreeModel::Item ExpenseTreeModel::GetChildItem(Item item) const
{
    const auto& children = ChildrenOf(item);
    return children.empty() ? nullptr : children.front().get();
}

ExpenseTreeModel::Item ExpenseTreeModel::GetNextSiblingItem(Item item) const
{
    if (!item)
        return nullptr;
    const auto& siblings = item->parent->children;
    const auto next = static_cast<std::size_t>(item->row) + 1;
    return next < siblings.size() ? siblings[next].get() : nullptr;
}

bool ExpenseTreeModel::ItemHasChildren(Item item) const { return item && !item->children.empty(); }

CExpTreeItem* ExpenseTreeModel::GetItemData(Item item) const { return item ? item->data.get() : nullptr; }

bool ExpenseTreeModel::IsLine(Item item) const { return item && item != m_root.get() && !item->data; }

ole::Variant ExpenseTreeModel::LineBookmark(Item line) const
{
    return IsLine(line) ? ole::Variant(ole::Bookmark{line->lineId}) : ole::Variant();
}

std::int64_t ExpenseTreeModel::LineId(Item line) const { return IsLine(line) ? line->lineId : 0; }

bool ExpenseTreeModel::LineUpdatedInPlace(Item line) const { return IsLine(line) && line->updatedInPlace; }

void ExpenseTreeModel::SetLineUpdatedInPlace(Item line)
{
    if (IsLine(line))
        line->updatedInPlace = true;
}

std::string ExpenseTreeModel::Text(Item item) const
{
    if (!item || item == m_root.get())
        return {};
    if (item->data)
        return item->data->m_strText;
    return m_lineText ? m_lineText(item) : std::string();
}

std::size_t ExpenseTreeModel::ChildCount(Item item) const { return ChildrenOf(item).size(); }

QModelIndex ExpenseTreeModel::IndexOf(Item item) const
{
    if (!item || item == m_root.get())
        return {};
    return createIndex(item->row, 0, item);
}

ExpenseTreeModel::Item ExpenseTreeModel::ItemAt(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Item>(index.internalPointer()) : nullptr;
}

QModelIndex ExpenseTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const auto& children = ChildrenOf(ItemAt(parent));
    if (column != 0 || row < 0 || static_cast<std::size_t>(row) >= children.size())
        return {};
    return createIndex(row, 0, children[static_cast<std::size_t>(row)].get());
}

QModelIndex ExpenseTreeModel::parent(const QModelIndex& child) const
{
    return IndexOf(GetParentItem(ItemAt(child)));
}

int ExpenseTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return static_cast<int>(ChildrenOf(ItemAt(parent)).size());
}

int ExpenseTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant ExpenseTreeModel::data(const QModelIndex& index, int role) const
{
    const Item item = ItemAt(index);
    if (!item || role != Qt::DisplayRole)
        return {};
    return QString::fromStdString(Text(item));
}

bool ExpenseTreeModel::hasChildren(const QModelIndex& parent) const
{
    const Item item = ItemAt(parent);
    if (!item)
        return !m_root->children.empty();
    // Every group shows its expand button; an expense line never does.
    return !item->children.empty() || item->data;
}
