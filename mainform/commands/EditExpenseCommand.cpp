// Edit an expense line.
#include "mainform/commands/EditExpenseCommand.h"

#include <QDialog>

#include "database/ExpenseRow.h"
#include "dialogs/CExpEditDlg.h"

using Item = ExpenseTree::Item;

void EditExpenseCommand::Run(Item line)
{
    CAdoRecordset& expenses = Tree().Expenses();
    const std::unique_ptr<CExpTreeItem> shown = Tree().Line(line);  // what leaves the sums after the edit
    if (!shown || !expenses.SetBookmark(*shown->m_pBookmark)) {
        ReportFailure("The expense could not be read.", expenses.LastFailure());
        return;
    }
    const Item parent = Model().GetParentItem(line);
    CExpEditDlg dialog(Tree().Database(), expenses, Tree().Statuses(), Tree().Data(parent)->m_strLabel,
                       shown->m_strCategory, Host().DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return;  // nothing was stored
    FollowChange(line, *shown, Tree().CurrentRow());
}

void EditExpenseCommand::FollowChange(Item line, const CExpTreeItem& data, const ExpenseRow& row)
{
    auto changed = Tree().MakeLine(row);
    if (!Tree().Shows(row)) {
        // Edited out of what Find shows: the line goes, as a filtered rebuild would leave it out.
        Tree().RemoveLine(line, data);
        Host().SelectItem(nullptr);
        return;
    }
    if (!Tree().Data(Tree().TopLevelOf(line))->MatchesLine(*changed)) {
        // A date in another year files the expense under that year.
        Tree().RemoveLine(line, data);
        Host().SelectItem(Tree().PlaceLine(std::move(changed), row));
        return;
    }
    Item parent = Model().GetParentItem(line);
    Tree().Data(parent)->SubtractChild(data);
    if (const Item group = Model().GetParentItem(parent)) {
        CExpTreeItem& groupData = *Tree().Data(group);
        groupData.SubtractChild(data);
        groupData.AddRecord(row);
        Tree().ReShow(group);
        if (row.m_strExpCat != data.m_strCategory) {
            // The line moves to the category group of its new category.
            Model().DeleteItem(line);
            if (Model().ItemHasChildren(parent))
                Tree().ReShow(parent);
            else
                Model().DeleteItem(parent);
            parent = Tree().FindCategoryGroup(group, row.m_strExpCat);
            if (!parent)
                parent = Tree().InsertGroup(CExpTreeItem::CategoryGroup, row, group);
            line = Model().InsertItem(std::move(changed), parent);
        } else {
            Tree().LineUpdated(line);
        }
    } else {
        Tree().LineUpdated(line);
    }
    Tree().Data(parent)->AddRecord(row);
    Tree().ReShow(parent);
    Tree().ReShow(line);
}
