// The types and categories editor: the tree, its drawing, and the new, edit and delete commands.
#include "dialogs/CCategoriesDlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "database/ExpenseSchema.h"
#include "database/LookupTables.h"
#include "dialogs/CExpCatDlg.h"
#include "dialogs/CExpTypeDlg.h"
#include "dialogs/LookupEditing.h"
#include "platform/ui/MessageBox.h"

namespace types = schema::types;
namespace categories = schema::categories;

namespace {

constexpr const char* kTypeSort = "ExpType ASC";
constexpr const char* kCategorySort = "ExpType ASC, ExpCat ASC";

// A row per item in columns: a type's number (right-aligned in the width of "000"), name and
// description, and "R" at the right edge for a reimbursable type; a category's code and
// description.
class CategoryRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        QRect row = option.rect;
        painter->save();
        painter->fillRect(row, selected ? palette.highlight() : palette.base());
        painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
        painter->setFont(option.font);
        const QFontMetrics& metrics = option.fontMetrics;
        const auto text = [&index](int role) { return index.data(role).toString(); };
        int x = row.left();
        const auto draw = [&](const QString& s, int width, Qt::Alignment alignment) {
            painter->drawText(QRect(x, row.top(), width, row.height()), alignment | Qt::AlignVCenter, s);
        };
        if (index.parent().isValid()) {
            draw(text(CCategoriesDlg::CodeRole), row.right() - x, Qt::AlignLeft);
            x += metrics.horizontalAdvance("WXXXXXXX  ");
            draw(text(CCategoriesDlg::DescRole), row.right() - x, Qt::AlignLeft);
        } else {
            draw(text(CCategoriesDlg::CodeRole), metrics.horizontalAdvance("000"), Qt::AlignRight);
            x += metrics.horizontalAdvance("0000");
            draw(text(CCategoriesDlg::LabelRole), row.right() - x, Qt::AlignLeft);
            x += metrics.horizontalAdvance("XXXXX");
            draw(text(CCategoriesDlg::DescRole), row.right() - x, Qt::AlignLeft);
            if (index.data(CCategoriesDlg::ReimbursableRole).toBool()) {
                const int scrollBar = option.widget ? option.widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
                x = row.left();
                draw("R", row.width() - scrollBar, Qt::AlignRight);
            }
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QFontMetrics& metrics = option.fontMetrics;
        return {metrics.horizontalAdvance("0000XXXXX") + metrics.horizontalAdvance(index.data(CCategoriesDlg::DescRole).toString()),
                metrics.height() + 4};
    }
};

std::int16_t TypeNumber(const QTreeWidgetItem* item) { return static_cast<std::int16_t>(item->data(0, CCategoriesDlg::CodeRole).toInt()); }

}  // namespace

CCategoriesDlg::CCategoriesDlg(CAdoRecordset& types, QWidget* parent)
    : QDialog(parent),
      m_types(types),
      m_pTree(new QTreeWidget(this)),
      m_rsCategories(types.GetDatabase()),
      m_pDeleteButton(new QPushButton("&Delete", this)),
      m_pCategoryButton(new QPushButton("&Category", this))
{
    setWindowTitle("Edit Categories");
    m_pTree->setObjectName("categoryTree");
    m_pDeleteButton->setObjectName("deleteButton");
    m_pCategoryButton->setObjectName("categoryButton");
    m_pTree->setHeaderHidden(true);
    m_pTree->setColumnCount(1);
    m_pTree->header()->setStretchLastSection(true);
    m_pTree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pTree->setExpandsOnDoubleClick(false);
    m_pTree->setUniformRowHeights(true);
    m_pTree->setItemDelegate(new CategoryRowDelegate(m_pTree));
    m_pTree->installEventFilter(this);
    auto* groupButton = new QPushButton("&Group", this);
    groupButton->setObjectName("groupButton");
    auto* done = new QPushButton("Done", this);
    done->setDefault(true);
    auto* insertBox = new QGroupBox("Insert New", this);
    auto* insertLayout = new QVBoxLayout(insertBox);
    insertLayout->addWidget(m_pCategoryButton);
    insertLayout->addWidget(groupButton);
    auto* side = new QVBoxLayout;
    side->addWidget(insertBox);
    side->addWidget(m_pDeleteButton);
    side->addStretch();
    side->addWidget(done);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_pTree, 1);
    layout->addLayout(side);
    resize(560, 400);
    connect(m_pTree, &QTreeWidget::itemSelectionChanged, this, &CCategoriesDlg::OnSelectionChanged);
    connect(m_pTree, &QTreeWidget::itemDoubleClicked, this, &CCategoriesDlg::OnActivated);
    connect(groupButton, &QPushButton::clicked, this, &CCategoriesDlg::OnNewType);
    connect(m_pCategoryButton, &QPushButton::clicked, this, &CCategoriesDlg::OnNewCategory);
    connect(m_pDeleteButton, &QPushButton::clicked, this, &CCategoriesDlg::OnDelete);
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    OnInitDialog();
}

CCategoriesDlg::~CCategoriesDlg() { m_rsCategories.Close(); }

bool CCategoriesDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pTree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_pTree->currentItem()) {
            OnActivated(m_pTree->currentItem());  // not the dialog's default button
            return true;
        }
        if (key == Qt::Key_Delete) {
            OnDelete();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CCategoriesDlg::OnInitDialog()
{
    m_pDeleteButton->setEnabled(false);
    m_pCategoryButton->setEnabled(false);
    Fill(false);
}

void CCategoriesDlg::Fill(bool bReread)
{
    const QSignalBlocker quiet(m_pTree);
    m_pTree->clear();
    m_pDeleteButton->setEnabled(false);
    m_pCategoryButton->setEnabled(false);
    if (bReread) {  // after a refused store the record sets may differ from the tables
        m_types.Close();
        m_rsCategories.Close();
    }
    m_types.m_strSort = kTypeSort;
    m_rsCategories.m_strSort = kCategorySort;
    const bool typesRead = m_types.IsOpen() ? m_types.SetSort(kTypeSort, true) : m_types.OpenTable(types::kTable);
    if (!typesRead || !m_rsCategories.OpenTable(categories::kTable)) {
        LookupEditing::ReportFailure(this, "The expense types and categories could not be read.",
                                     typesRead ? m_rsCategories.LastFailure() : m_types.LastFailure());
        return;
    }
    m_types.MoveFirst();
    m_rsCategories.MoveFirst();
    for (long i = 0; i < m_types.GetRecordCount(); ++i) {
        QTreeWidgetItem* item = TypeItem();
        m_pTree->addTopLevelItem(item);
        AddCategories(item, TypeNumber(item));
        m_types.MoveNext();
    }
}

QTreeWidgetItem* CCategoriesDlg::TypeItem()
{
    auto* item = new QTreeWidgetItem;
    item->setData(0, BookmarkRole, LookupEditing::ItemData(m_types.GetBookmark()));
    item->setData(0, CodeRole, m_types.GetDF_Short(types::kExpType));
    item->setData(0, LabelRole, QString::fromStdString(m_types.GetDF_Text(types::kExpLabel)));
    item->setData(0, DescRole, QString::fromStdString(m_types.GetDF_Text(types::kExpDesc)));
    item->setData(0, ReimbursableRole, m_types.GetDF_Byte(types::kExpComp) == schema::comp::kReimbursable);
    return item;
}

QTreeWidgetItem* CCategoriesDlg::CategoryItem(const LookupTables::CategoryRow& row)
{
    auto* item = new QTreeWidgetItem;
    item->setData(0, BookmarkRole, LookupEditing::ItemData(row.bookmark));
    item->setData(0, CodeRole, QString::fromStdString(row.code));
    item->setData(0, DescRole, QString::fromStdString(row.description));
    return item;
}

QTreeWidgetItem* CCategoriesDlg::StoredCategoryItem()
{
    return CategoryItem(LookupTables::CurrentCategory(m_rsCategories));
}

void CCategoriesDlg::AddCategories(QTreeWidgetItem* typeItem, std::int16_t nExpType)
{
    for (const LookupTables::CategoryRow& row : LookupTables::CategoriesOf(m_rsCategories, nExpType))
        typeItem->addChild(CategoryItem(row));
}

void CCategoriesDlg::InsertType(QTreeWidgetItem* item)
{
    // After the last type whose number is not greater; first when every type's is.
    int at = 0;
    for (int i = 0; i < m_pTree->topLevelItemCount(); ++i)
        if (TypeNumber(m_pTree->topLevelItem(i)) <= TypeNumber(item))
            at = i + 1;
    m_pTree->insertTopLevelItem(at, item);
}

void CCategoriesDlg::InsertCategory(QTreeWidgetItem* typeItem, QTreeWidgetItem* item)
{
    // Before the first category whose code compares greater, byte by byte.
    const QByteArray code = item->data(0, CodeRole).toString().toUtf8();
    int at = typeItem->childCount();
    for (int i = 0; i < typeItem->childCount(); ++i)
        if (typeItem->child(i)->data(0, CodeRole).toString().toUtf8() > code) {
            at = i;
            break;
        }
    typeItem->insertChild(at, item);
}

bool CCategoriesDlg::MoveTo(CAdoRecordset& rs, const QTreeWidgetItem* item)
{
    const auto bookmark = item ? LookupEditing::Bookmark(item->data(0, BookmarkRole)) : std::nullopt;
    return bookmark && rs.SetBookmark(*bookmark);
}

bool CCategoriesDlg::IsUserItem(const QTreeWidgetItem* item)
{
    if (item->parent())
        return true;
    return !schema::typerange::IsSystem(static_cast<std::uint16_t>(TypeNumber(item)));
}

void CCategoriesDlg::OnSelectionChanged()
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    m_pCategoryButton->setEnabled(item != nullptr);
    m_pDeleteButton->setEnabled(item && IsUserItem(item) && !IsLastCategory(item));
}

bool CCategoriesDlg::IsLastCategory(const QTreeWidgetItem* item)
{
    const QTreeWidgetItem* typeItem = item->parent();
    if (!typeItem)
        return false;
    // While a HotSync has the record set closed, the tree still shows what was read.
    return LookupTables::IsLastCategory(m_rsCategories, TypeNumber(typeItem)).value_or(typeItem->childCount() == 1);
}

bool CCategoriesDlg::IsCurrent()
{
    // A HotSync closes and re-opens the database, which closes the record sets: the tree is read
    // again, and the user acts on what it then shows.
    if (m_types.IsOpen() && m_rsCategories.IsOpen())
        return true;
    AfterFailure();
    return false;
}

void CCategoriesDlg::OnActivated(QTreeWidgetItem* item)
{
    if (!item || !IsCurrent())
        return;
    if (!IsUserItem(item)) {
        QApplication::beep();
        return;
    }
    if (item->parent())
        EditCategory(item);
    else
        EditType(item);
}

void CCategoriesDlg::AfterFailure()
{
    m_bChanged = true;  // the tree is re-read; the form re-reads its own rows too
    Fill(true);
}

void CCategoriesDlg::OnNewType()
{
    if (!IsCurrent())
        return;
    CExpTypeDlg dialog(this);
    dialog.SetEditMode(false);
    dialog.SetRecordsets(&m_types, &m_rsCategories);
    dialog.m_nExpType = LookupTables::NewTypeNumber(m_types);
    const bool saved = dialog.exec() == QDialog::Accepted;
    if (dialog.StoreFailed())
        return AfterFailure();
    if (!saved)
        return;
    QTreeWidgetItem* item = TypeItem();
    InsertType(item);
    m_pTree->setCurrentItem(item);
    m_bChanged = true;
}

void CCategoriesDlg::EditType(QTreeWidgetItem* item)
{
    if (!MoveTo(m_types, item))
        return;
    CExpTypeDlg dialog(this);
    dialog.SetEditMode(true);
    dialog.SetRecordsets(&m_types, &m_rsCategories);
    const bool saved = dialog.exec() == QDialog::Accepted;
    if (dialog.StoreFailed())
        return AfterFailure();
    if (!saved)
        return;
    m_bChanged = true;
    // The row as stored; its categories moved with a new number, so they are read again.
    QTreeWidgetItem* stored = TypeItem();
    const bool expanded = item->isExpanded();
    delete item;
    AddCategories(stored, TypeNumber(stored));
    InsertType(stored);
    stored->setExpanded(expanded);
    m_pTree->setCurrentItem(stored);
}

void CCategoriesDlg::OnNewCategory()
{
    if (!IsCurrent())
        return;
    QTreeWidgetItem* typeItem = m_pTree->currentItem();
    if (typeItem && typeItem->parent())
        typeItem = typeItem->parent();
    if (!typeItem || !MoveTo(m_types, typeItem))
        return;
    if (!RunCategoryDialog(typeItem, false))
        return;
    QTreeWidgetItem* item = StoredCategoryItem();
    InsertCategory(typeItem, item);
    typeItem->setExpanded(true);
    m_pTree->setCurrentItem(item);
    m_bChanged = true;
}

void CCategoriesDlg::EditCategory(QTreeWidgetItem* item)
{
    QTreeWidgetItem* typeItem = item->parent();
    if (!MoveTo(m_rsCategories, item) || !MoveTo(m_types, typeItem))
        return;
    if (!RunCategoryDialog(typeItem, true))
        return;
    m_bChanged = true;
    QTreeWidgetItem* stored = StoredCategoryItem();  // a changed code takes its place among the others
    delete item;
    InsertCategory(typeItem, stored);
    m_pTree->setCurrentItem(stored);
}

bool CCategoriesDlg::RunCategoryDialog(const QTreeWidgetItem* typeItem, bool bEdit)
{
    CExpCatDlg dialog(this);
    dialog.SetEditMode(bEdit);
    dialog.SetRecordset(&m_rsCategories);
    dialog.m_nExpType = TypeNumber(typeItem);
    dialog.m_strTypeLabel = m_types.GetDF_Text(types::kExpLabel);  // the type record set stands on its row
    const bool saved = dialog.exec() == QDialog::Accepted;
    if (dialog.StoreFailed()) {
        AfterFailure();
        return false;
    }
    return saved;
}

void CCategoriesDlg::OnDelete()
{
    QTreeWidgetItem* item = m_pTree->currentItem();
    if (!item || !IsCurrent())
        return;
    if (!IsUserItem(item)) {
        ui::MessageBox::Show(this, "System Item - may not be deleted", "Error", ui::MessageBox::Buttons::Ok,
                             ui::MessageBox::Icon::Stop);
        return;
    }
    if (IsLastCategory(item)) {
        QApplication::beep();  // a type keeps at least one category
        return;
    }
    if (!item->parent() &&
        ui::MessageBox::Show(this, "Do you wish to delete the selected\nExpense Type and all its Categories?",
                             "Confirm Delete", ui::MessageBox::Buttons::YesNo, ui::MessageBox::Icon::Question,
                             ui::MessageBox::Answer::No) != ui::MessageBox::Answer::Yes)
        return;
    if (!DeleteRows(item))
        return AfterFailure();
    if (item->parent())
        m_pTree->setCurrentItem(item->parent());
    else
        m_pTree->setCurrentItem(nullptr);
    delete item;
    m_bChanged = true;
    OnSelectionChanged();
}

bool CCategoriesDlg::DeleteRows(QTreeWidgetItem* item)
{
    if (item->parent())
        return LookupEditing::Store(this, m_rsCategories, "The category could not be deleted.", [&](AdoFailure& failure) {
            if (MoveTo(m_rsCategories, item) && m_rsCategories.Delete())
                return true;
            failure = m_rsCategories.LastFailure();
            return false;
        });
    LookupTables tables(*m_types.GetDatabase());
    const auto bookmark = LookupEditing::Bookmark(item->data(0, BookmarkRole));
    if (tables.DeleteType(m_types, m_rsCategories, bookmark.value_or(ole::Variant())))
        return true;
    LookupEditing::ReportFailure(this, "The expense type could not be deleted.", tables.Failure());
    return false;
}
