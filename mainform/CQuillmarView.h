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
#include "expensetree/TreePlace.h"
#include "mainform/commands/CommandHost.h"
#include "reports/ReportSettings.h"

class CADODataBase;
class QLabel;
class QTreeView;
class QTabWidget;
class QPushButton;
class QLineEdit;
class QLabel;
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
    // A re-open of the database the tree shows keeps the tree's place; another database (told by
    // the path the view follows) starts fresh, without Find.
    void OnUpdate(UpdateHint hint);
    // The application's current database path, read at each update; unset, every update is a
    // re-open of the same database.
    void FollowDatabasePath(const std::string& strCurrDB) { m_pCurrDB = &strCurrDB; }

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
    QWidget* FindBar() const { return m_findBar; }
    QLineEdit* FindEdit() const { return m_findEdit; }
    QLabel* FindCount() const { return m_findCount; }

    // Edit > Find...: shows the find bar and puts the cursor in it. Typing narrows the tree;
    // Escape (CloseFind) or clearing the text shows every expense again, keeping the place.
    void OnFind();
    void CloseFind();

    // The view commands: Add New, Delete (a line, a category or a group), and a double-click
    // (edit a line, or re-state the billing status of a reimbursable group).
    void OnAddNew();
    void OnDelete();
    void OnDoubleClick(Item item);
    // The Overview's ways into the tree: selects (and shows) the top-level group of a type for a
    // year or project key, or the type's first group when it has none of that key; opens Update
    // Status for a project's group. False when there is no such group.
    bool SelectGroupOf(std::int16_t type, std::int32_t key);
    bool RestateGroupOf(std::int16_t type, std::int32_t project);
    // The Configure menu: the editors of accounts, expense types and categories, and projects.
    void OnConfigAccounts();
    void OnConfigCategories();
    void OnConfigProjects();
    // File > Export... and File > Create Backup... (of strCurrDB).
    void OnFileExport();
    // File > Import...: a CSV file's expenses, previewed, then stored all or none.
    void OnFileImport();
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
    void MakeFindBar();
    void PlaceFindBar(bool shown);
    void OnFindTextChanged(const QString& text);
    void ShowFindCount();
    TreePlace CapturePlace() const;
    void ApplyPlace(const TreePlace& place);
    bool IsAnotherDatabase() const;

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
    QWidget* m_findBar = nullptr;             // above the tree while Find is on
    QLineEdit* m_findEdit = nullptr;          // the text Find looks for
    QLabel* m_findCount = nullptr;            // "N of M expenses"
    TreePlace m_findPlace;                    // the place before and during Find, restored after
    Item m_findFallback = nullptr;            // what the last narrowing selected (compared only)
    const std::string* m_pCurrDB = nullptr;   // the application's current database path
    std::string m_strShownDB;                 // the database the tree was built from
};
