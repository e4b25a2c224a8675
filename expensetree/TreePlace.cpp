// Capturing and applying the expanded groups and the selection of the expense tree.
#include "expensetree/TreePlace.h"

TreePlace::GroupKey TreePlace::KeyOf(const ExpenseTree& tree, Item group)
{
    const CExpTreeItem& data = *tree.Data(group);
    const CExpTreeItem& top = *tree.Data(tree.TopLevelOf(group));
    GroupKey key{top.m_nExpType, top.m_nYearKey, top.m_nProjectKey, {}};
    if (data.m_nKind == CExpTreeItem::CategoryGroup)
        key.category = data.m_strCategory;
    return key;
}

TreePlace TreePlace::Capture(const ExpenseTree& tree, const std::function<bool(Item)>& isExpanded, Item selected)
{
    TreePlace place;
    const ExpenseTreeModel& model = tree.Model();
    for (Item top = model.GetRootItem(); top; top = model.GetNextSiblingItem(top)) {
        if (!isExpanded(top))
            continue;
        place.m_expanded.insert(KeyOf(tree, top));
        for (Item child = model.GetChildItem(top); child && !tree.IsLine(child); child = model.GetNextSiblingItem(child))
            if (isExpanded(child))
                place.m_expanded.insert(KeyOf(tree, child));
    }
    if (!selected)
        return place;
    const Item group = tree.IsLine(selected) ? model.GetParentItem(selected) : selected;
    if (tree.IsLine(selected))
        place.m_lineId = model.LineId(selected);
    place.m_selectedGroup = KeyOf(tree, group);
    place.m_selectedTop = KeyOf(tree, tree.TopLevelOf(group));
    return place;
}

void TreePlace::Merge(const TreePlace& other, bool preferOtherSelection)
{
    m_expanded.insert(other.m_expanded.begin(), other.m_expanded.end());
    if (m_selectedGroup && !(preferOtherSelection && other.m_selectedGroup))
        return;
    m_selectedGroup = other.m_selectedGroup;
    m_selectedTop = other.m_selectedTop;
    m_lineId = other.m_lineId;
}

TreePlace::Item TreePlace::FindLine(const ExpenseTree& tree, Item under, std::int64_t lineId)
{
    const ExpenseTreeModel& model = tree.Model();
    for (Item child = model.GetChildItem(under); child; child = model.GetNextSiblingItem(child)) {
        if (!tree.IsLine(child)) {
            if (const Item found = FindLine(tree, child, lineId))
                return found;
            continue;
        }
        if (model.LineId(child) == lineId)
            return child;
    }
    return nullptr;
}

TreePlace::Item TreePlace::Apply(const ExpenseTree& tree, const std::function<void(Item)>& expand) const
{
    const ExpenseTreeModel& model = tree.Model();
    Item selectedTop = nullptr;
    Item selectedGroup = nullptr;
    for (Item top = model.GetRootItem(); top; top = model.GetNextSiblingItem(top)) {
        const GroupKey topKey = KeyOf(tree, top);
        if (m_expanded.contains(topKey))
            expand(top);
        if (m_selectedTop && topKey == *m_selectedTop)
            selectedTop = top;
        for (Item child = model.GetChildItem(top); child && !tree.IsLine(child); child = model.GetNextSiblingItem(child)) {
            const GroupKey key = KeyOf(tree, child);
            if (m_expanded.contains(key))
                expand(child);
            if (m_selectedGroup && key == *m_selectedGroup)
                selectedGroup = child;
        }
    }
    if (!selectedTop)
        return nullptr;
    if (m_lineId)
        if (const Item line = FindLine(tree, selectedTop, *m_lineId))
            return line;
    return selectedGroup ? selectedGroup : selectedTop;
}
