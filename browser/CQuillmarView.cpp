// The expense tree: rebuilding it from the sorted Expenses record set, and the operations that
// change it in place.
#include "browser/CQuillmarView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeView>

#include "dbaccess/CADODataBase.h"
#include "dialogs/CExpEditDlg.h"
#include "dialogs/CExpenseDlg.h"
#include "dialogs/CStatusDlg.h"
#include "platform/ado/Error.h"
#include "platform/ui/MessageBox.h"
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
    connect(m_ui->addNewButton, &QPushButton::clicked, this, &CQuillmarView::OnAddNew);
    connect(m_ui->deleteButton, &QPushButton::clicked, this, &CQuillmarView::OnDelete);
    connect(m_ui->expenseTreeView, &QTreeView::doubleClicked, this, [this](const QModelIndex&) {
        // Handled here (the tree does not expand or collapse), on the selected item.
        OnDoubleClick(SelectedItem());
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
    if (m_nCommandDepth > 0) {
        // A command is waiting on one of its dialogs and holds tree items: rebuilding now would
        // pull them from under it. The rebuild runs when the command is done.
        m_bUpdatePending = true;
        return;
    }
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

// ---- view commands ----

// Marks a view command as running for its lifetime; a reload asked for meanwhile runs at its end.
class CQuillmarView::CommandScope {
public:
    explicit CommandScope(CQuillmarView& view) : m_view(view) { ++m_view.m_nCommandDepth; }
    ~CommandScope()
    {
        if (--m_view.m_nCommandDepth == 0 && m_view.m_bUpdatePending) {
            m_view.m_bUpdatePending = false;
            m_view.OnUpdate(kHintReload);
        }
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    CQuillmarView& m_view;  // the view whose command runs
};

bool CQuillmarView::Ask(const std::string& question)
{
    return ui::MessageBox::Show(this, QString::fromStdString(question), "Confirm Delete", ui::MessageBox::Buttons::YesNo,
                                ui::MessageBox::Icon::Question) == ui::MessageBox::Answer::Yes;
}

void CQuillmarView::ReportStoreFailure(const CAdoRecordset& rs)
{
    // The record set keeps the engine's report; the user learns that nothing was kept.
    const std::string& report = rs.m_strLastError;
    const std::size_t at = report.find("Description:\n  ");
    const std::string reason = at == std::string::npos ? report : report.substr(at + 16);
    ui::MessageBox::Show(this, QString::fromStdString("The expense could not be saved.\n" + reason), {},
                         ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
}

void CQuillmarView::OnAddNew()
{
    const CommandScope running(*this);
    CExpenseDlg dialog(m_db, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    SelectItem(nullptr);
    try {
        if (!m_rsExpenses.AddNew())
            return;
    } catch (const ado::Error& error) {
        // No record set to add to (the database was closed meanwhile): nothing is written, and
        // the user is told so rather than left to think the expense was kept.
        ui::MessageBox::Show(this, QString::fromStdString("The expense could not be saved.\n" + error.description()), {},
                             ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
        return;
    }
    dialog.WriteNewRow(m_rsExpenses);
    if (!m_rsExpenses.Update()) {
        ReportStoreFailure(m_rsExpenses);
        return;
    }
    auto bookmark = std::make_unique<ole::Variant>(m_rsExpenses.GetBookmark());
    m_rsExpenses.MoveFirst();
    m_rsExpenses.SetBookmark(*bookmark);
    auto line = std::make_unique<CExpTreeItem>(m_rsExpenses, m_rsStatus, std::move(bookmark), m_nSortMode);

    Item group = FindTopLevelGroup(*line);
    if (!group) {
        auto newGroup = std::make_unique<CExpTreeItem>(CExpTreeItem::TypeGroup, m_rsExpenses, m_rsTypes, m_rsProjects);
        const Item position = FindGroupPosition(*newGroup);
        group = m_model->InsertItem(std::move(newGroup), nullptr, position);
    }
    m_model->GetItemData(group)->AddRecord(m_rsExpenses);
    Item parent = group;
    if (m_nSortMode == 1) {
        parent = FindCategoryGroup(group, line->m_strCategory);
        if (!parent)
            parent = InsertGroup(CExpTreeItem::CategoryGroup, group);
        m_model->GetItemData(parent)->AddRecord(m_rsExpenses);
    }
    const Item added = m_model->InsertItem(std::move(line), parent);
    ReShow(group);
    if (m_nSortMode == 1)
        ReShow(parent);
    SelectItem(added);
}

void CQuillmarView::DeleteRowsUnder(Item group)
{
    Item first = m_model->GetChildItem(group);
    if (first && m_model->GetItemData(first)->m_nKind == CExpTreeItem::CategoryGroup) {
        for (Item category = first; category; category = m_model->GetNextSiblingItem(category))
            DeleteRowsUnder(category);
        return;
    }
    for (Item line = first; line; line = m_model->GetNextSiblingItem(line)) {
        m_rsExpenses.SetBookmark(*m_model->GetItemData(line)->m_pBookmark);
        m_rsExpenses.Delete();
    }
}

void CQuillmarView::OnDelete()
{
    const CommandScope running(*this);
    const Item selected = SelectedItem();
    if (!selected)
        return;
    CExpTreeItem* data = m_model->GetItemData(selected);
    if (data->m_nKind == CExpTreeItem::ExpenseItem) {
        if (!Ask("Do you wish to delete the selected expense item?"))
            return;
        SelectItem(nullptr);
        m_rsExpenses.SetBookmark(*data->m_pBookmark);
        const Item parent = m_model->GetParentItem(selected);
        const Item grandparent = m_model->GetParentItem(parent);
        m_model->DeleteItem(selected);
        for (const Item above : {parent, grandparent}) {
            if (!above)
                continue;
            if (m_model->ItemHasChildren(above)) {
                m_model->GetItemData(above)->SubtractRecord(m_rsExpenses);
                ReShow(above);
            } else {
                m_model->DeleteItem(above);
            }
        }
        m_rsExpenses.Delete();
        return;
    }
    if (data->m_nKind == CExpTreeItem::CategoryGroup) {
        if (!Ask("Do you wish to delete all the expense items in the " + data->m_strCategory + " Category?"))
            return;
        DeleteRowsUnder(selected);
        const Item group = m_model->GetParentItem(selected);
        m_model->GetItemData(group)->SubtractChild(*data);
        m_model->DeleteItem(selected);
        if (m_model->ItemHasChildren(group))
            ReShow(group);
        else
            m_model->DeleteItem(group);
        return;
    }
    if (!Ask("Do you wish to delete all the expense items in the " + data->m_strLabel + " Group?"))
        return;
    DeleteRowsUnder(selected);
    m_model->DeleteItem(selected);
}

void CQuillmarView::OnDoubleClick(Item item)
{
    if (!item)
        return;
    const CommandScope running(*this);
    const CExpTreeItem* data = m_model->GetItemData(item);
    if (data->m_nKind == CExpTreeItem::ExpenseItem)
        EditLine(item);
    else if (data->m_bReimbursable)
        RestateGroup(item);
}

void CQuillmarView::EditLine(Item line)
{
    CExpTreeItem* data = m_model->GetItemData(line);
    m_rsExpenses.SetBookmark(*data->m_pBookmark);
    Item parent = m_model->GetParentItem(line);
    CExpEditDlg dialog(m_db, m_rsExpenses, m_rsStatus, m_model->GetItemData(parent)->m_strLabel, data->m_strCategory, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_model->GetItemData(parent)->SubtractChild(*data);
    const std::string oldCategory = data->m_strCategory;
    if (const Item group = m_model->GetParentItem(parent)) {
        CExpTreeItem* groupData = m_model->GetItemData(group);
        groupData->SubtractChild(*data);
        groupData->AddRecord(m_rsExpenses);
        ReShow(group);
        if (dialog.m_strExpCat != oldCategory) {
            // The line moves to the category group of its new category.
            m_model->DeleteItem(line);
            if (m_model->ItemHasChildren(parent))
                ReShow(parent);
            else
                m_model->DeleteItem(parent);
            parent = FindCategoryGroup(group, dialog.m_strExpCat);
            if (!parent)
                parent = InsertGroup(CExpTreeItem::CategoryGroup, group);
            line = BuildExpenseLine(parent);
        } else {
            data->UpdateFromRecord(m_rsExpenses, m_rsStatus);
        }
    } else {
        data->UpdateFromRecord(m_rsExpenses, m_rsStatus);
    }
    m_model->GetItemData(parent)->AddRecord(m_rsExpenses);
    ReShow(parent);
    ReShow(line);
}

void CQuillmarView::RestateGroup(Item group)
{
    CExpTreeItem* data = m_model->GetItemData(group);
    CStatusDlg dialog(this);
    dialog.SetStatusRecordset(&m_rsStatus);
    dialog.SetCategoryFlag(data->m_nKind == CExpTreeItem::CategoryGroup);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const Item first = m_model->GetChildItem(group);
    if (first && m_model->GetItemData(first)->m_nKind == CExpTreeItem::CategoryGroup) {
        data->ResetSums();
        for (Item category = first; category; category = m_model->GetNextSiblingItem(category)) {
            ChangeStatusOfLines(m_model->GetChildItem(category), dialog.m_nFromStatus, dialog.m_nToStatus);
            RecomputeFromLines(category);
            data->AddChild(*m_model->GetItemData(category));
        }
        ReShow(group);
        return;
    }
    const Item parent = m_model->GetParentItem(group);
    if (parent)
        m_model->GetItemData(parent)->SubtractChild(*data);
    ChangeStatusOfLines(first, dialog.m_nFromStatus, dialog.m_nToStatus);
    RecomputeFromLines(group);
    if (parent) {
        m_model->GetItemData(parent)->AddChild(*data);
        ReShow(parent);
    }
}

void CQuillmarView::ChangeStatusOfLines(Item first, std::int16_t nFrom, std::int16_t nTo)
{
    for (Item line = first; line; line = m_model->GetNextSiblingItem(line)) {
        CExpTreeItem* data = m_model->GetItemData(line);
        m_rsExpenses.SetBookmark(*data->m_pBookmark);  // stores the previous line's change
        if (m_rsExpenses.GetDF_Short("Status") != nFrom)
            continue;
        m_rsExpenses.PutDF_Short("Status", nTo);
        data->UpdateFromRecord(m_rsExpenses, m_rsStatus);
        ReShow(line);
    }
    m_rsExpenses.MovePrevious();  // stores the last change
}

void CQuillmarView::RecomputeFromLines(Item group)
{
    CExpTreeItem* data = m_model->GetItemData(group);
    data->ResetSums();
    for (Item line = m_model->GetChildItem(group); line; line = m_model->GetNextSiblingItem(line))
        data->AddChild(*m_model->GetItemData(line));
    ReShow(group);
}
