// CQuillmarView: the main form. It shows every expense as a tree of fixed-width lines inside a
// tab control whose two tabs choose the sort mode ("Sort by Date" / "Sort by Category"), keeps
// its four record sets open while the tree is shown, and offers the tree operations the view
// commands change the tree with in place.
#pragma once

#include <QFont>
#include <QWidget>
#include <memory>

#include "browser/ExpenseTreeModel.h"
#include "dbaccess/CAdoRecordset.h"

class CADODataBase;
class QTreeView;
class QTabWidget;
class QPushButton;
namespace Ui {
class QuillmarView;
}

class CQuillmarView : public QWidget {
    Q_OBJECT
public:
    using Item = ExpenseTreeModel::Item;
    static constexpr int kHintReload = 1;  // update hint: a database was opened or re-opened

    CQuillmarView(CADODataBase& db, QWidget* parent = nullptr);
    ~CQuillmarView() override;

    void OnInitialUpdate();
    void OnUpdate(int nHint);  // hint 1: a database was opened or re-opened
    void RefreshTree();

    // Tree operations used by the view commands.
    Item BuildExpenseLine(Item parent);
    Item FinishGroupAndStartNext(Item current, std::uint32_t nKind, Item parent);
    void ReShow(Item item);
    Item FindTopLevelGroup(const CExpTreeItem& line) const;
    Item FindGroupPosition(const CExpTreeItem& newGroup) const;
    Item FindCategoryGroup(Item group, const std::string& category) const;

    int SortMode() const { return m_nSortMode; }
    ExpenseTreeModel& Model() { return *m_model; }
    QTreeView* TreeView() const;
    QTabWidget* TabControl() const;
    QPushButton* AddNewButton() const;
    QPushButton* DeleteButton() const;
    Item SelectedItem() const;
    void SelectItem(Item item);

    CAdoRecordset& Expenses() { return m_rsExpenses; }
    CAdoRecordset& Types() { return m_rsTypes; }
    CAdoRecordset& Projects() { return m_rsProjects; }
    CAdoRecordset& Statuses() { return m_rsStatus; }

    // The view commands: Add New, Delete (a line, a category or a group), and a double-click
    // (edit a line, or re-state the billing status of a reimbursable group).
    void OnAddNew();
    void OnDelete();
    void OnDoubleClick(Item item);

private:
    class CommandScope;
    void EditLine(Item line);
    void RestateGroup(Item group);
    void ChangeStatusOfLines(Item first, std::int16_t nFrom, std::int16_t nTo);
    void RecomputeFromLines(Item group);
    void DeleteRowsUnder(Item group);
    bool Ask(const std::string& question);
    void ReportStoreFailure(const CAdoRecordset& rs);
    std::int16_t BuildSection(std::uint32_t nKind);
    Item InsertGroup(std::uint32_t nKind, Item parent, Item after = ExpenseTreeModel::kLast);
    bool StartsNewGroup(std::uint32_t nKind, const CExpTreeItem& group);
    void OnTabChanged();
    void OnSelectionChanged();

    std::unique_ptr<Ui::QuillmarView> m_ui;   // the form's controls
    CADODataBase& m_db;                       // the application's connection
    CAdoRecordset m_rsExpenses;               // Expenses, open while the tree is shown
    CAdoRecordset m_rsTypes;                  // lkpExpTypes
    CAdoRecordset m_rsProjects;               // Projects
    CAdoRecordset m_rsStatus;                 // lkpExpBillStatus, sorted by Status
    QFont m_font;                             // fixed-pitch tree font, made at first update
    bool m_bFontCreated = false;              // m_font exists
    bool m_bInitialUpdateDone = false;        // OnInitialUpdate has run
    int m_nCommandDepth = 0;                  // view commands running (waiting on a dialog)
    bool m_bUpdatePending = false;            // a reload arrived while a command ran
    ExpenseTreeModel* m_model;                // the tree's items (child object)
    int m_nSortMode = 0;                      // 0 = by date, 1 = by category
};
