// Re-state the billing status of a group's lines.
#include "mainform/commands/RestateStatusCommand.h"

#include <QDialog>

#include "database/ExpenseRow.h"
#include "database/ExpenseSchema.h"
#include "dialogs/CStatusDlg.h"

using Item = ExpenseTree::Item;

void RestateStatusCommand::Run(Item group)
{
    CExpTreeItem& data = *Tree().Data(group);
    CStatusDlg dialog(Host().DialogParent());
    dialog.SetStatusRecordset(&Tree().Statuses());
    dialog.SetCategoryFlag(data.m_nKind == CExpTreeItem::CategoryGroup);
    if (dialog.exec() != QDialog::Accepted)
        return;
    bool stored = true;
    if (Tree().HasCategoryChildren(group)) {
        data.ResetSums();
        for (Item category = Model().GetChildItem(group); category; category = Model().GetNextSiblingItem(category)) {
            stored = stored && ChangeStatusOfLines(Model().GetChildItem(category), dialog.m_nFromStatus, dialog.m_nToStatus);
            RecomputeFromLines(category);
            data.AddChild(*Tree().Data(category));
        }
        Tree().ReShow(group);
    } else {
        const Item parent = Model().GetParentItem(group);
        if (parent)
            Tree().Data(parent)->SubtractChild(data);
        stored = ChangeStatusOfLines(Model().GetChildItem(group), dialog.m_nFromStatus, dialog.m_nToStatus);
        RecomputeFromLines(group);
        if (parent) {
            Tree().Data(parent)->AddChild(data);
            Tree().ReShow(parent);
        }
    }
    if (!stored)
        ReportFailure("The status could not be changed.", Tree().Expenses().LastFailure());
}

bool RestateStatusCommand::ChangeStatusOfLines(Item first, std::int16_t nFrom, std::int16_t nTo)
{
    CAdoRecordset& expenses = Tree().Expenses();
    for (Item line = first; line; line = Model().GetNextSiblingItem(line)) {
        if (!expenses.SetBookmark(Model().LineBookmark(line)))
            return false;
        if (expenses.GetDF_Short(schema::expenses::kStatus) != nFrom)
            continue;  // other statuses stay, whatever the row's Reimburse
        if (!expenses.PutDF_Short(schema::expenses::kStatus, nTo) || !expenses.Update()) {
            expenses.CancelUpdate();
            return false;
        }
        Tree().LineUpdated(line);
    }
    return true;
}

void RestateStatusCommand::RecomputeFromLines(Item group)
{
    CExpTreeItem& data = *Tree().Data(group);
    data.ResetSums();
    for (Item line = Model().GetChildItem(group); line; line = Model().GetNextSiblingItem(line))
        if (const std::unique_ptr<CExpTreeItem> shown = Tree().Line(line))
            data.AddChild(*shown);
    Tree().ReShow(group);
}
