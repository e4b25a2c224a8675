// Delete: one line, a category or a group.
#include "mainform/commands/DeleteCommand.h"

#include "database/ExpenseRow.h"
#include "platform/ui/MessageBox.h"

using Item = ExpenseTree::Item;

void DeleteCommand::Run(Item selected)
{
    if (Tree().IsLine(selected)) {
        DeleteLine(selected);
        return;
    }
    const CExpTreeItem& data = *Tree().Data(selected);
    switch (data.m_nKind) {
    case CExpTreeItem::CategoryGroup:
        if (Ask("Do you wish to delete all the expense items in the " + data.m_strCategory + " Category?", true))
            DeleteLinesUnder(selected);
        return;
    default:
        if (Ask("Do you wish to delete all the expense items in the " + data.m_strLabel + " Group?", true))
            DeleteLinesUnder(selected);
        return;
    }
}

bool DeleteCommand::Ask(const std::string& question, bool bDefaultNo) const
{
    using ui::MessageBox;
    const MessageBox::Answer byDefault = bDefaultNo ? MessageBox::Answer::No : MessageBox::Answer::Yes;
    return MessageBox::Show(Host().DialogParent(), QString::fromStdString(question), "Confirm Delete",
                            MessageBox::Buttons::YesNo, MessageBox::Icon::Question, byDefault) == MessageBox::Answer::Yes;
}

void DeleteCommand::DeleteLine(Item line)
{
    if (!Ask("Do you wish to delete the selected expense item?", false))
        return;
    Host().SelectItem(nullptr);
    const Item next = NeighbourLine(line);
    if (!DeleteRow(line)) {
        Host().SelectItem(line);
        return;
    }
    Host().SelectItem(next);
}

Item DeleteCommand::NeighbourLine(Item line) const
{
    if (const Item next = Model().GetNextSiblingItem(line))
        return next;
    Item before = nullptr;
    for (Item sibling = Model().GetChildItem(Model().GetParentItem(line)); sibling != line;
         sibling = Model().GetNextSiblingItem(sibling))
        before = sibling;
    return before;
}

std::vector<Item> DeleteCommand::LinesUnder(Item group) const
{
    std::vector<Item> lines;
    for (Item child = Model().GetChildItem(group); child; child = Model().GetNextSiblingItem(child)) {
        if (Tree().IsLine(child)) {
            lines.push_back(child);
            continue;
        }
        const std::vector<Item> below = LinesUnder(child);
        lines.insert(lines.end(), below.begin(), below.end());
    }
    return lines;
}

void DeleteCommand::DeleteLinesUnder(Item group)
{
    Host().SelectItem(nullptr);
    const std::vector<Item> lines = LinesUnder(group);
    // From the last line up, so each line leaves the end of its group's list.
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        if (!DeleteRow(*line))
            return;
}

bool DeleteCommand::DeleteRow(Item line)
{
    CAdoRecordset& expenses = Tree().Expenses();
    if (!expenses.SetBookmark(Model().LineBookmark(line))) {
        ReportFailure("The expense could not be deleted.", expenses.LastFailure());
        return false;
    }
    const ExpenseRow row = Tree().CurrentRow();  // its amounts leave the sums once it is gone
    if (!expenses.Delete()) {
        ReportFailure("The expense could not be deleted.", expenses.LastFailure());
        return false;
    }
    Tree().RemoveLine(line, row);
    return true;
}
