// The main form: its widgets, their wiring, and the commands' entry points.
#include "mainform/CQuillmarView.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTreeView>
#include <algorithm>

#include "dbaccess/CADODataBase.h"
#include "database/ExpenseSchema.h"
#include "mainform/FormKeys.h"
#include "mainform/commands/AddExpenseCommand.h"
#include "mainform/commands/BackupCommand.h"
#include "mainform/commands/ConfigureLookupsCommand.h"
#include "mainform/commands/DeleteCommand.h"
#include "mainform/commands/EditExpenseCommand.h"
#include "mainform/commands/ExportCommand.h"
#include "mainform/commands/ImportCommand.h"
#include "mainform/commands/ReportCommand.h"
#include "mainform/commands/RestateStatusCommand.h"
#include "platform/ui/WaitCursor.h"
#include "ui_QuillmarView.h"

CQuillmarView::CQuillmarView(CADODataBase& db, QWidget* parent)
    : QWidget(parent),
      m_ui(std::make_unique<Ui::QuillmarView>()),
      m_db(db),
      m_tree(db)
{
    m_ui->setupUi(this);
    m_ui->archiveButton->setVisible(false);
    m_ui->expenseTreeView->setModel(&m_tree.Model());
    m_ui->expenseTreeView->raise();  // the tree sits over the tab control's page area
    connect(m_ui->sortTabWidget, &QTabWidget::currentChanged, this, &CQuillmarView::OnTabChanged);
    connect(m_ui->expenseTreeView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CQuillmarView::OnSelectionChanged);
    connect(&m_tree.Model(), &QAbstractItemModel::modelReset, this, &CQuillmarView::OnSelectionChanged);
    connect(m_ui->addNewButton, &QPushButton::clicked, this, &CQuillmarView::OnAddNew);
    connect(m_ui->deleteButton, &QPushButton::clicked, this, &CQuillmarView::OnDelete);
    connect(m_ui->expenseTreeView, &QTreeView::doubleClicked, this, [this](const QModelIndex&) {
        // Handled here (the tree does not expand or collapse), on the selected item.
        OnDoubleClick(SelectedItem());
    });
    m_ui->expenseTreeView->installEventFilter(this);
    new FormKeys(this, m_ui->addNewButton, m_ui->sortTabWidget);
    m_pEmptyHint = new QLabel(kEmptyHint, m_ui->expenseTreeView->viewport());
    m_pEmptyHint->setObjectName("emptyHint");
    m_pEmptyHint->setAlignment(Qt::AlignCenter);
    m_pEmptyHint->setWordWrap(true);
    m_pEmptyHint->setEnabled(false);  // greyed: a note, not a line of the tree
    m_pEmptyHint->hide();
    m_ui->expenseTreeView->viewport()->installEventFilter(this);
    const QAbstractItemModel* model = &m_tree.Model();
    connect(model, &QAbstractItemModel::modelReset, this, &CQuillmarView::UpdateEmptyHint);
    connect(model, &QAbstractItemModel::rowsInserted, this, &CQuillmarView::UpdateEmptyHint);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &CQuillmarView::UpdateEmptyHint);
    MakeFindBar();
    resize(kFormSize);
}

void CQuillmarView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayOutForm();
}

void CQuillmarView::LayOutForm()
{
    // The designed geometry, with the margins it has at its designed size kept at any size.
    const int w = width(), h = height();
    m_ui->sortTabWidget->setGeometry(0, 5, w - 102, h - 5);
    const QRect room(12, 34, w - 127, h - 47);
    if (m_findBar && m_findBar->isVisible()) {
        // The find bar takes the top of the tree's room while it is shown.
        const int height = m_findBar->sizeHint().height() + 2;
        m_findBar->setGeometry(room.x(), room.y(), room.width(), height - 2);
        m_ui->expenseTreeView->setGeometry(room.adjusted(0, height, 0, 0));
    } else {
        m_ui->expenseTreeView->setGeometry(room);
    }
    for (QPushButton* button : {m_ui->addNewButton, m_ui->deleteButton, m_ui->archiveButton})
        button->move(w - 88, button->y());
}

void CQuillmarView::UpdateEmptyHint()
{
    // A Find that matches nothing is not an empty database: its bar says "0 of M expenses".
    const bool finding = m_findBar && m_findBar->isVisible() && !m_findEdit->text().isEmpty();
    const bool empty = m_tree.Model().rowCount() == 0 && m_db.IsOpen() && !finding;
    m_pEmptyHint->setVisible(empty);
    if (empty)
        m_pEmptyHint->setGeometry(m_ui->expenseTreeView->viewport()->rect().adjusted(16, 0, -16, 0));
}

bool CQuillmarView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_findEdit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        CloseFind();
        return true;
    }
    // The keyboard does what the mouse does: Enter as a double click, Delete as the button.
    if (watched == m_ui->expenseTreeView->viewport() && event->type() == QEvent::Resize && m_pEmptyHint->isVisible())
        m_pEmptyHint->setGeometry(m_ui->expenseTreeView->viewport()->rect().adjusted(16, 0, -16, 0));
    if (watched == m_ui->expenseTreeView && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && SelectedItem()) {
            OnDoubleClick(SelectedItem());
            return true;
        }
        if (key == Qt::Key_Delete && m_ui->deleteButton->isEnabled()) {
            OnDelete();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

CQuillmarView::~CQuillmarView()
{
    m_ui->expenseTreeView->setModel(nullptr);  // the tree goes before the widgets
    m_tree.Clear();
}

QTreeView* CQuillmarView::TreeView() const { return m_ui->expenseTreeView; }
QTabWidget* CQuillmarView::TabControl() const { return m_ui->sortTabWidget; }
QPushButton* CQuillmarView::AddNewButton() const { return m_ui->addNewButton; }
QPushButton* CQuillmarView::DeleteButton() const { return m_ui->deleteButton; }

void CQuillmarView::OnInitialUpdate()
{
    m_bInitialUpdateDone = true;
    if (!m_bFontCreated) {
        m_font = QFont("Quick Type Mono");
        m_font.setPixelSize(11);
        m_font.setWeight(QFont::Normal);
        m_font.setStyleHint(QFont::TypeWriter, QFont::PreferQuality);
        m_font.setFixedPitch(true);
        m_ui->expenseTreeView->setFont(m_font);
        // Lines are wider than the tree: scroll sideways instead of cutting them short. The
        // width is set, not measured, so a large tree is never measured line by line.
        m_ui->expenseTreeView->header()->setStretchLastSection(false);
        m_ui->expenseTreeView->setColumnWidth(0, QFontMetrics(m_font).horizontalAdvance(QString(190, '0')));
        m_ui->expenseTreeView->setTextElideMode(Qt::ElideNone);
        m_bFontCreated = true;
    }
    QTabWidget* tabs = m_ui->sortTabWidget;
    if (tabs->count() == 0) {
        const QSignalBlocker quiet(tabs);  // adding the tabs is not a change of sort mode
        tabs->addTab(new QWidget, "   Sort by Date   ");
        tabs->addTab(new QWidget, "  Sort by Category  ");
        tabs->setCurrentIndex(std::clamp(m_nInitialTab, 0, tabs->count() - 1));
    }
    if (m_db.IsOpen())
        RefreshTree();
}

void CQuillmarView::OnUpdate(UpdateHint hint)
{
    // Before the first update there are no tabs yet; the first update builds the tree itself.
    if (hint != UpdateHint::DatabaseOpened || !m_bInitialUpdateDone)
        return;
    if (m_nCommandDepth > 0) {
        // A command is waiting on one of its dialogs and holds tree items: rebuilding now would
        // pull them from under it. The rebuild runs when the command is done; the record sets
        // are opened again at once, so what the dialog stores goes into the re-opened database.
        m_bUpdatePending = true;
        if (m_db.IsOpen()) {
            m_tree.Reopen();
            m_ui->expenseTreeView->viewport()->update();
        }
        return;
    }
    if (m_db.IsOpen()) {
        RefreshTree();
    } else {
        m_tree.Clear();  // lines are read from the open rows: none are left to show
        m_ui->addNewButton->setEnabled(false);
    }
    m_ui->deleteButton->setEnabled(SelectedItem() != nullptr);
    ShowFindCount();
}

bool CQuillmarView::IsAnotherDatabase() const { return m_pCurrDB && *m_pCurrDB != m_strShownDB; }

void CQuillmarView::OnTabChanged()
{
    if (m_db.IsOpen()) {
        const TreePlace place = CapturePlace();
        m_tree.ChangeSortMode(SortModeOfTab(m_ui->sortTabWidget->currentIndex()));
        ApplyPlace(place);
        ShowFindCount();
    }
    m_ui->deleteButton->setEnabled(SelectedItem() != nullptr);
}

TreePlace CQuillmarView::CapturePlace() const
{
    const QTreeView* view = m_ui->expenseTreeView;
    return TreePlace::Capture(
        m_tree, [&](Item item) { return view->isExpanded(m_tree.Model().IndexOf(item)); }, SelectedItem());
}

void CQuillmarView::ApplyPlace(const TreePlace& place)
{
    QTreeView* view = m_ui->expenseTreeView;
    SelectItem(place.Apply(m_tree, [&](Item item) { view->setExpanded(m_tree.Model().IndexOf(item), true); }));
}

void CQuillmarView::OnSelectionChanged()
{
    m_ui->deleteButton->setEnabled(SelectedItem() != nullptr);
}

CQuillmarView::Item CQuillmarView::SelectedItem() const
{
    const QModelIndexList selected = m_ui->expenseTreeView->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? nullptr : m_tree.Model().ItemAt(selected.first());
}

void CQuillmarView::SelectItem(Item item)
{
    QItemSelectionModel* selection = m_ui->expenseTreeView->selectionModel();
    if (!item) {
        selection->clearSelection();
        return;
    }
    const QModelIndex index = m_tree.Model().IndexOf(item);
    selection->select(index, QItemSelectionModel::ClearAndSelect);
    selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    m_ui->expenseTreeView->scrollTo(index);
}

void CQuillmarView::RefreshTree()
{
    const SortMode sortMode = SortModeOfTab(m_ui->sortTabWidget->currentIndex());
    if (IsAnotherDatabase()) {
        // Nothing of the last database's place or Find applies to this one.
        m_strShownDB = *m_pCurrDB;
        m_findPlace = TreePlace();
        m_findFallback = nullptr;
        m_tree.Clear();
        if (!m_findBar->isHidden()) {
            const QSignalBlocker quiet(m_findEdit);
            m_findEdit->clear();
            PlaceFindBar(false);
        }
        m_tree.SetFindOpen(false);
        m_tree.SetFilter(ExpenseFilter());
        m_tree.Refresh(sortMode);
        return;
    }
    const TreePlace place = CapturePlace();
    m_tree.Refresh(sortMode);
    ApplyPlace(place);
    ShowFindCount();
}

// ---- Find ----

void CQuillmarView::MakeFindBar()
{
    m_findBar = new QWidget(this);
    m_findEdit = new QLineEdit(m_findBar);
    m_findEdit->setPlaceholderText("Find expenses");
    m_findEdit->setClearButtonEnabled(true);
    m_findCount = new QLabel(m_findBar);
    auto* layout = new QHBoxLayout(m_findBar);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_findEdit, 1);
    layout->addWidget(m_findCount);
    m_findBar->hide();
    m_findEdit->installEventFilter(this);
    connect(m_findEdit, &QLineEdit::textChanged, this, &CQuillmarView::OnFindTextChanged);
}

void CQuillmarView::PlaceFindBar(bool shown)
{
    if (m_findBar->isHidden() != shown)
        return;
    m_findBar->setVisible(shown);
    LayOutForm();
}

void CQuillmarView::OnFind()
{
    PlaceFindBar(true);
    {
        const ui::WaitCursor busy;  // the first open reads every row's texts (2 s at a million)
        m_tree.SetFindOpen(true);
    }
    ShowFindCount();
    m_findEdit->setFocus();
    m_findEdit->selectAll();
}

void CQuillmarView::CloseFind()
{
    if (m_findBar->isHidden())
        return;
    m_findEdit->clear();
    m_tree.SetFindOpen(false);
    PlaceFindBar(false);
    m_ui->expenseTreeView->setFocus();
}

void CQuillmarView::OnFindTextChanged(const QString& text)
{
    // The place before Find is kept beside the one in the narrowed tree, so groups that a
    // narrower text hid are opened again when they come back.
    // A selection Find itself fell back to (the group of a line the text hid) does not replace
    // the one the user made.
    TreePlace place = CapturePlace();
    place.Merge(m_findPlace, SelectedItem() == m_findFallback);
    m_tree.SetFilter(ExpenseFilter(text.toStdString()));
    ApplyPlace(place);
    m_findPlace = text.isEmpty() ? TreePlace() : place;
    m_findFallback = text.isEmpty() ? nullptr : SelectedItem();
    ShowFindCount();
}

void CQuillmarView::ShowFindCount()
{
    if (m_findBar->isHidden())
        return;  // counting walks every line: only while the bar shows it
    m_findCount->setText(QString("%1 of %2 expenses").arg(m_tree.LineCount()).arg(m_tree.RowCount()));
}

// ---- the Overview's ways in ----

namespace {

// The top-level group of a type whose key matches, else (when any) the type's first group.
ExpenseTree::Item GroupOf(ExpenseTree& tree, std::int16_t type, std::int32_t key, bool exact)
{
    ExpenseTree::Item first = nullptr;
    for (ExpenseTree::Item item = tree.Model().GetRootItem(); item; item = tree.Model().GetNextSiblingItem(item)) {
        const CExpTreeItem* group = tree.Data(item);
        if (!group || group->m_nExpType != type)
            continue;
        const std::int32_t groupKey = type == schema::typerange::kTax ? group->m_nYearKey : group->m_nProjectKey;
        if (groupKey == key)
            return item;
        if (!first)
            first = item;
    }
    return exact ? nullptr : first;
}

}  // namespace

bool CQuillmarView::SelectGroupOf(std::int16_t type, std::int32_t key)
{
    const Item group = GroupOf(m_tree, type, key, false);
    if (group)
        SelectItem(group);
    return group != nullptr;
}

bool CQuillmarView::RestateGroupOf(std::int16_t type, std::int32_t project)
{
    const Item group = GroupOf(m_tree, type, project, true);
    if (!group)
        return false;
    SelectItem(group);
    OnDoubleClick(group);
    return true;
}

// ---- view commands ----

// Marks a view command as running for its lifetime; a reload asked for meanwhile runs at its end.
class CQuillmarView::CommandScope {
public:
    explicit CommandScope(CQuillmarView& view) : m_view(view) { ++m_view.m_nCommandDepth; }
    ~CommandScope()
    {
        if (--m_view.m_nCommandDepth == 0 && m_view.m_bUpdatePending) {
            m_view.m_bUpdatePending = false;
            m_view.OnUpdate(UpdateHint::DatabaseOpened);
        }
        m_view.ShowFindCount();  // a command may have added or taken away lines
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    CQuillmarView& m_view;  // the view whose command runs
};

void CQuillmarView::OnAddNew()
{
    const CommandScope running(*this);
    AddExpenseCommand(*this).Run();
}

void CQuillmarView::OnDelete()
{
    const CommandScope running(*this);
    if (const Item selected = SelectedItem())
        DeleteCommand(*this).Run(selected);
}

void CQuillmarView::OnFileExport()
{
    const CommandScope running(*this);
    ExportCommand(*this).Run();
}

void CQuillmarView::OnFileImport()
{
    const CommandScope running(*this);
    ImportCommand(*this).Run();
}

void CQuillmarView::OnFileBackup(const std::string& strCurrDB)
{
    const CommandScope running(*this);
    BackupCommand(*this).Run(strCurrDB);
}

void CQuillmarView::OnFileReports()
{
    const CommandScope running(*this);
    ReportCommand(*this).Run(m_reportSettings);
}

void CQuillmarView::OnConfigAccounts()
{
    const CommandScope running(*this);
    ConfigureLookupsCommand(*this).Accounts();
}

void CQuillmarView::OnConfigCategories()
{
    const CommandScope running(*this);
    ConfigureLookupsCommand(*this).Categories();
}

void CQuillmarView::OnConfigProjects()
{
    const CommandScope running(*this);
    ConfigureLookupsCommand(*this).Projects();
}

void CQuillmarView::OnDoubleClick(Item item)
{
    if (!item)
        return;
    const CommandScope running(*this);
    const CExpTreeItem* data = m_tree.Data(item);
    if (m_tree.IsLine(item))
        EditExpenseCommand(*this).Run(item);
    else if (data && data->m_bReimbursable)
        RestateStatusCommand(*this).Run(item);
}
