// The expense tree: rebuilding it from the sorted Expenses record set, and the operations that
// change it in place.
#include "browser/CQuillmarView.h"

#include <QItemSelectionModel>
#include <QTreeView>

#include "dbaccess/CADODataBase.h"
#include "ui_QuillmarView.h"

namespace {

const char* const kSortByDate = "ExpType ASC, ProjectID ASC, ExpDate ASC, ExpCat ASC";
const char* const kSortByCategory = "ExpType ASC, ProjectID ASC, ExpCat ASC, ExpDate ASC";

}  // namespace

CQuillmarView::CQuillmarView(CADODataBase& db, QWidget* parent)
    : QWidget(parent),
      m_ui(std::make_unique<Ui::QuillmarView>()),
      m_db(db),
      m_rsExpenses(&db),
      m_rsTypes(&db),
      m_rsProjects(&db),
      m_rsStatus(&db),
      m_model(new ExpenseTreeModel(this))
{
    m_ui->setupUi(this);
    m_ui->archiveButton->setVisible(false);
    m_ui->expenseTreeView->setModel(m_model);
    m_ui->expenseTreeView->raise();  // the tree sits over the tab control's page area
    connect(m_ui->sortTabWidget, &QTabWidget::currentChanged, this, &CQuillmarView::OnTabChanged);
    connect(m_ui->expenseTreeView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CQuillmarView::OnSelectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &CQuillmarView::OnSelectionChanged);
    connect(m_ui->addNewButton, &QPushButton::clicked, this, &CQuillmarView::AddNewClicked);
    connect(m_ui->deleteButton, &QPushButton::clicked, this, &CQuillmarView::DeleteClicked);
    connect(m_ui->expenseTreeView, &QTreeView::doubleClicked, this, [this](const QModelIndex&) {
        // Handled here (the tree does not expand or collapse), on the selected item.
        if (Item item = SelectedItem())
            emit ItemDoubleClicked(item);
    });
}

CQuillmarView::~CQuillmarView()
{
    m_model->DeleteAllItems();
    m_rsExpenses.Close();
    m_rsTypes.Close();
    m_rsProjects.Close();
    m_rsStatus.Close();
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
        m_bFontCreated = true;
    }
    QTabWidget* tabs = m_ui->sortTabWidget;
    if (tabs->count() == 0) {
        const QSignalBlocker quiet(tabs);  // adding the tabs is not a change of sort mode
        tabs->addTab(new QWidget, "   Sort by Date   ");
        tabs->addTab(new QWidget, "  Sort by Category  ");
        tabs->setCurrentIndex(0);
    }
    if (m_db.IsOpen())
        RefreshTree();
}

void CQuillmarView::OnUpdate(int nHint)
{
    // Before the first update there are no tabs yet; the first update builds the tree itself.
    if (nHint <= 0 || !m_bInitialUpdateDone)
        return;
    if (m_db.IsOpen())
        RefreshTree();
    else
        m_ui->addNewButton->setEnabled(false);
    m_ui->deleteButton->setEnabled(false);
}

void CQuillmarView::OnTabChanged()
{
    if (m_db.IsOpen())
        RefreshTree();
    m_ui->deleteButton->setEnabled(false);
}

void CQuillmarView::OnSelectionChanged()
{
    m_ui->deleteButton->setEnabled(SelectedItem() != nullptr);
}

CQuillmarView::Item CQuillmarView::SelectedItem() const
{
    const QModelIndexList selected = m_ui->expenseTreeView->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? nullptr : m_model->ItemAt(selected.first());
}

void CQuillmarView::SelectItem(Item item)
{
    QItemSelectionModel* selection = m_ui->expenseTreeView->selectionModel();
    if (!item) {
        selection->clearSelection();
        return;
    }
    const QModelIndex index = m_model->IndexOf(item);
    selection->select(index, QItemSelectionModel::ClearAndSelect);
    selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    m_ui->expenseTreeView->scrollTo(index);
}

void CQuillmarView::RefreshTree()
{
    m_model->BeginBulkBuild();
    m_model->DeleteAllItems();
    m_rsExpenses.Close();
    m_rsTypes.Close();
    m_rsProjects.Close();
    m_rsStatus.Close();

    const auto build = [this] {
        if (!m_rsTypes.OpenTable("lkpExpTypes") || !m_rsProjects.OpenTable("Projects"))
            return;
        m_rsStatus.m_strSort = "Status ASC";
        if (!m_rsStatus.OpenTable("lkpExpBillStatus"))
            return;
        m_nSortMode = m_ui->sortTabWidget->currentIndex() == 1 ? 1 : 0;
        m_rsExpenses.m_strSort = m_nSortMode == 0 ? kSortByDate : kSortByCategory;
        if (!m_rsExpenses.OpenTable("Expenses") || m_rsExpenses.IsEOF())
            return;
        std::int16_t type = m_rsExpenses.GetDF_Short("ExpType");
        if (type == 0)
            type = BuildSection(CExpTreeItem::TaxYearGroup);
        if (type == 1)
            type = BuildSection(CExpTreeItem::EstTaxGroup);
        if (type > 9)
            BuildSection(CExpTreeItem::TypeGroup);
        // Rows of types 2 to 9 end the walk.
    };
    build();
    m_model->EndBulkBuild();
}

bool CQuillmarView::StartsNewGroup(std::uint32_t nKind, const CExpTreeItem& group)
{
    switch (nKind) {
    case CExpTreeItem::TaxYearGroup: return m_rsExpenses.GetDF_DateTime("ExpDate").year() != group.m_nYearKey;
    case CExpTreeItem::EstTaxGroup: return m_rsExpenses.GetDF_Long("ProjectID") != group.m_nYearKey;
    default:
        return m_rsExpenses.GetDF_Short("ExpType") != group.m_nExpType ||
               m_rsExpenses.GetDF_Long("ProjectID") != group.m_nProjectKey;
    }
}

std::int16_t CQuillmarView::BuildSection(std::uint32_t nKind)
{
    const bool byCategory = m_nSortMode == 1;
    Item group = InsertGroup(nKind, nullptr);
    Item category = byCategory ? InsertGroup(CExpTreeItem::CategoryGroup, group) : nullptr;
    std::int16_t type = m_rsExpenses.GetDF_Short("ExpType");
    while (!m_rsExpenses.IsEOF()) {
        type = m_rsExpenses.GetDF_Short("ExpType");
        if ((nKind == CExpTreeItem::TaxYearGroup && type != 0) || (nKind == CExpTreeItem::EstTaxGroup && type != 1))
            break;
        if (StartsNewGroup(nKind, *m_model->GetItemData(group))) {
            group = FinishGroupAndStartNext(group, nKind, nullptr);
            if (byCategory)
                category = FinishGroupAndStartNext(category, CExpTreeItem::CategoryGroup, group);
        }
        m_model->GetItemData(group)->AddRecord(m_rsExpenses);
        if (byCategory) {
            if (m_rsExpenses.GetDF_Text("ExpCat") != m_model->GetItemData(category)->m_strCategory)
                category = FinishGroupAndStartNext(category, CExpTreeItem::CategoryGroup, group);
            m_model->GetItemData(category)->AddRecord(m_rsExpenses);
        }
        BuildExpenseLine(byCategory ? category : group);
        m_rsExpenses.MoveNext();
    }
    ReShow(group);
    if (byCategory)
        ReShow(category);
    return type;
}

CQuillmarView::Item CQuillmarView::InsertGroup(std::uint32_t nKind, Item parent, Item after)
{
    return m_model->InsertItem(std::make_unique<CExpTreeItem>(nKind, m_rsExpenses, m_rsTypes, m_rsProjects), parent, after);
}

CQuillmarView::Item CQuillmarView::BuildExpenseLine(Item parent)
{
    auto bookmark = std::make_unique<ole::Variant>(m_rsExpenses.GetBookmark());
    auto line = std::make_unique<CExpTreeItem>(m_rsExpenses, m_rsStatus, std::move(bookmark), m_nSortMode);
    return m_model->InsertItem(std::move(line), parent);
}

CQuillmarView::Item CQuillmarView::FinishGroupAndStartNext(Item current, std::uint32_t nKind, Item parent)
{
    ReShow(current);
    return InsertGroup(nKind, parent);
}

void CQuillmarView::ReShow(Item item)
{
    if (CExpTreeItem* data = m_model->GetItemData(item)) {
        data->FormatText(m_nSortMode);
        m_model->RefreshItem(item);
    }
}

CQuillmarView::Item CQuillmarView::FindTopLevelGroup(const CExpTreeItem& line) const
{
    for (Item item = m_model->GetRootItem(); item; item = m_model->GetNextSiblingItem(item))
        if (m_model->GetItemData(item)->MatchesLine(line))
            return item;
    return nullptr;
}

CQuillmarView::Item CQuillmarView::FindGroupPosition(const CExpTreeItem& newGroup) const
{
    Item first = m_model->GetRootItem();
    if (first && m_model->GetItemData(first)->SortsAfter(newGroup))
        return ExpenseTreeModel::kFirst;
    Item lastBefore = nullptr;
    for (Item item = first; item; item = m_model->GetNextSiblingItem(item)) {
        if (m_model->GetItemData(item)->SortsAfter(newGroup))
            return lastBefore;
        lastBefore = item;
    }
    return ExpenseTreeModel::kLast;
}

CQuillmarView::Item CQuillmarView::FindCategoryGroup(Item group, const std::string& category) const
{
    for (Item item = m_model->GetChildItem(group); item; item = m_model->GetNextSiblingItem(item)) {
        const CExpTreeItem* data = m_model->GetItemData(item);
        if (data->m_nKind != CExpTreeItem::CategoryGroup)
            break;
        if (data->m_strCategory == category)
            return item;
    }
    return nullptr;
}
