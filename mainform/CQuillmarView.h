// CQuillmarView: the main form. It shows the expense tree as fixed-width lines inside a tab
// control whose two tabs choose the sort mode ("Sort by Date" / "Sort by Category"), and wires
// the form's buttons and the tree's double-click to the view commands. The tree itself, its
// record sets and its operations live in ExpenseTree; each command in a file of its own, which
// reaches the form only as its CommandHost.
#pragma once

#include <QFont>
#include <QWidget>
#include <memory>
#include <string>

#include "document/UpdateHint.h"
#include "expensetree/ExpenseTree.h"
#include "mainform/commands/CommandHost.h"
#include "reports/ReportSettings.h"

class CADODataBase;
class QLabel;
class QTreeView;
class QTabWidget;
class QPushButton;
namespace Ui {
class QuillmarView;
}

class CQuillmarView : public QWidget, public CommandHost {
    Q_OBJECT
public:
    using Item = ExpenseTree::Item;
    // The form's size as designed: the main window's first and smallest size where the screen
    // has room for it.
    static constexpr QSize kFormSize{834, 509};
    // What an empty tree shows in its middle.
    static constexpr const char* kEmptyHint = "No expenses yet. Click Add New to enter one, or run a HotSync.";

    CQuillmarView(CADODataBase& db, QWidget* parent = nullptr);
    ~CQuillmarView() override;

    // The tab the first update shows (the one shown at the last close), so the first tree is
    // built once, in that tab's order.
    void SetInitialTab(int tab) { m_nInitialTab = tab; }
    void OnInitialUpdate();
    void OnUpdate(UpdateHint hint);

    // CommandHost
    ExpenseTree& Tree() override { return m_tree; }
    CADODataBase& Database() const override { return m_db; }
    void RefreshTree() override;
    void SelectItem(Item item) override;
    // Tells the user in the status bar what a command just did.
    void ShowStatus(const QString& text) override { emit StatusMessage(text); }
    QWidget* DialogParent() override { return this; }

    ExpenseTreeModel& Model() { return m_tree.Model(); }
    SortMode CurrentSortMode() const { return m_tree.CurrentSortMode(); }
    CAdoRecordset& Expenses() { return m_tree.Expenses(); }
    CAdoRecordset& Types() { return m_tree.Types(); }
    CAdoRecordset& Projects() { return m_tree.Projects(); }
    CAdoRecordset& Statuses() { return m_tree.Statuses(); }

    QTreeView* TreeView() const;
    QTabWidget* TabControl() const;
    QPushButton* AddNewButton() const;
    QPushButton* DeleteButton() const;
    Item SelectedItem() const;
    QLabel* EmptyHint() const { return m_pEmptyHint; }

    // The view commands: Add New, Delete (a line, a category or a group), and a double-click
    // (edit a line, or re-state the billing status of a reimbursable group).
    void OnAddNew();
    void OnDelete();
    void OnDoubleClick(Item item);
    // The Configure menu: the editors of accounts, expense types and categories, and projects.
    void OnConfigAccounts();
    void OnConfigCategories();
    void OnConfigProjects();
    // File > Export... and File > Create Backup... (of strCurrDB).
    void OnFileExport();
    void OnFileBackup(const std::string& strCurrDB);
    // File > Reports...: the options, then the preview or the print.
    void OnFileReports();
    ReportSettings& Reports() { return m_reportSettings; }

signals:
    void StatusMessage(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class CommandScope;
    void OnTabChanged();
    void OnSelectionChanged();
    // The tab control and the tree take the room the form has; the buttons stay at its right.
    void LayOutForm();
    void UpdateEmptyHint();

    std::unique_ptr<Ui::QuillmarView> m_ui;   // the form's controls
    CADODataBase& m_db;                       // the application's connection
    ExpenseTree m_tree;                       // the tree's items and record sets
    QFont m_font;                             // fixed-pitch tree font, made at first update
    bool m_bFontCreated = false;              // m_font exists
    bool m_bInitialUpdateDone = false;        // OnInitialUpdate has run
    int m_nCommandDepth = 0;                  // view commands running (waiting on a dialog)
    bool m_bUpdatePending = false;            // a reload arrived while a command ran
    ReportSettings m_reportSettings;          // the last report chosen
    QLabel* m_pEmptyHint = nullptr;           // over the tree while it has no line
    int m_nInitialTab = 0;                    // the tab the first update shows
};
