// TreePlace: where the user was in the expense tree - the groups that were expanded and the
// selected line or group - named by what they show, not by their position, so the place
// survives a rebuild of the same database: a group by its type, year or project and category, a
// line by its row's bookmark. Captured before a rebuild and applied after it; the view only
// expands and selects what Apply names.
#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include "expensetree/ExpenseTree.h"

class TreePlace {
public:
    using Item = ExpenseTree::Item;

    // A group's identity: its top-level group's type and year or project, and its category (empty
    // for a top-level group). The same in both sort modes for a top-level group.
    struct GroupKey {
        std::int32_t expType = 0;
        std::int32_t yearKey = 0;
        std::int32_t projectKey = 0;
        std::string category;
        auto operator<=>(const GroupKey&) const = default;
    };

    // The place in a tree whose expanded groups isExpanded tells, with selected selected (or null).
    static TreePlace Capture(const ExpenseTree& tree, const std::function<bool(Item)>& isExpanded, Item selected);

    bool IsEmpty() const { return m_expanded.empty() && !m_selectedGroup; }
    // Keeps the other place's expanded groups too, and its selection when this one has none or
    // when preferOtherSelection.
    void Merge(const TreePlace& other, bool preferOtherSelection = false);

    // Calls expand for each group of the tree this place had expanded, parents first, and answers
    // the item to select: the line, else its category group, else its top-level group (null: none).
    Item Apply(const ExpenseTree& tree, const std::function<void(Item)>& expand) const;

private:
    static GroupKey KeyOf(const ExpenseTree& tree, Item group);
    static Item FindLine(const ExpenseTree& tree, Item under, std::int64_t lineId);

    std::set<GroupKey> m_expanded;            // groups shown open
    std::optional<GroupKey> m_selectedGroup;  // the selected group, or the group of the selected line
    std::optional<GroupKey> m_selectedTop;    // the top-level group above the selection
    std::optional<std::int64_t> m_lineId;     // the selected line's row, if a line was selected
};
