// The lookup editors' list: columns by share of the width, rows with bookmarks, keyboard.
#include "dialogs/CLookupList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

#include "dialogs/LookupEditing.h"

namespace {

// Cell texts sit two blanks inside their cell, on the side they are aligned to.
class InsetDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem inset = option;
        const int blanks = 2 * option.fontMetrics.horizontalAdvance(' ');
        const auto alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        if (alignment & Qt::AlignRight)
            inset.rect.setRight(inset.rect.right() - blanks);
        else
            inset.rect.setLeft(inset.rect.left() + blanks);
        QStyledItemDelegate::paint(painter, inset, index);
    }
};

}  // namespace

CLookupList::CLookupList(QWidget* parent) : QTableWidget(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    setItemDelegate(new InsetDelegate(this));
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int row) { emit EditRequested(row); });
}

void CLookupList::SetColumns(std::vector<Column> columns)
{
    m_columns = std::move(columns);
    setColumnCount(static_cast<int>(m_columns.size()));
    QStringList heads;
    for (const Column& column : m_columns)
        heads << column.head;
    setHorizontalHeaderLabels(heads);
    for (int i = 0; i < columnCount(); ++i)
        horizontalHeaderItem(i)->setTextAlignment(m_columns[i].alignment | Qt::AlignVCenter);
    ApplyWidths();
}

void CLookupList::ApplyWidths()
{
    const int width = viewport()->width();
    for (int i = 0; i < static_cast<int>(m_columns.size()); ++i)
        setColumnWidth(i, static_cast<int>(width * m_columns[i].share));
}

void CLookupList::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    ApplyWidths();
}

void CLookupList::InsertRow(int row, const QStringList& texts, const ole::Variant& bookmark, bool bSelect)
{
    insertRow(row);
    for (int i = 0; i < columnCount(); ++i) {
        auto* item = new QTableWidgetItem;
        item->setTextAlignment(m_columns[i].alignment | Qt::AlignVCenter);
        setItem(row, i, item);
    }
    item(row, 0)->setData(Qt::UserRole, LookupEditing::ItemData(bookmark));
    SetTexts(row, texts);
    if (bSelect) {
        setCurrentCell(row, 0);
        selectRow(row);
    }
}

void CLookupList::SetTexts(int row, const QStringList& texts)
{
    for (int i = 0; i < columnCount() && i < texts.size(); ++i)
        item(row, i)->setText(texts[i]);
}

std::optional<ole::Variant> CLookupList::Bookmark(int row) const
{
    const QTableWidgetItem* first = item(row, 0);
    return first ? LookupEditing::Bookmark(first->data(Qt::UserRole)) : std::nullopt;
}

int CLookupList::SelectedRow() const
{
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

void CLookupList::keyPressEvent(QKeyEvent* event)
{
    const int row = SelectedRow();
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && row >= 0) {
        emit EditRequested(row);  // not the dialog's default button
        return;
    }
    if (event->key() == Qt::Key_Delete && row >= 0) {
        emit DeleteRequested();
        return;
    }
    QTableWidget::keyPressEvent(event);
}
