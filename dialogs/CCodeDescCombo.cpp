// Two-column lookup combo box and its list drawing.
#include "dialogs/CCodeDescCombo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include "dbaccess/CAdoRecordset.h"

namespace {

constexpr int kDescriptionRole = Qt::UserRole + 1;  // the record's description
constexpr int kValueRole = Qt::UserRole + 2;        // the record's value

// Draws one list item: code, divider, description.
class CodeDescDelegate : public QStyledItemDelegate {
public:
    explicit CodeDescDelegate(CCodeDescCombo* combo) : QStyledItemDelegate(combo), m_combo(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        const QPalette& palette = option.palette;
        const bool selected = option.state & QStyle::State_Selected;
        // The selected item keeps the window colours and shows a focus rectangle.
        painter->fillRect(option.rect, selected ? palette.window() : palette.base());
        painter->setPen(palette.color(QPalette::WindowText));
        const int half = m_combo->Spacing() / 2;
        QRect code = option.rect.adjusted(half, 0, 0, 0);
        code.setWidth(m_combo->CodeColumnWidth() - half);
        painter->drawText(code, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, index.data(Qt::DisplayRole).toString());
        const int divider = option.rect.left() + m_combo->CodeColumnWidth();
        painter->setPen(m_combo->DividerPen());
        painter->drawLine(divider, option.rect.top(), divider, option.rect.bottom());
        painter->setPen(palette.color(QPalette::WindowText));
        const QRect description(divider + half, option.rect.top(), option.rect.right() - divider - half, option.rect.height());
        painter->drawText(description, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data(kDescriptionRole).toString());
        if (selected) {
            QStyleOptionFocusRect focus;
            focus.rect = option.rect;
            focus.palette = palette;
            QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter);
        }
        painter->restore();
    }

private:
    CCodeDescCombo* m_combo;  // the combo whose columns it follows
};

}  // namespace

CCodeDescCombo::CCodeDescCombo(QWidget* parent) : QComboBox(parent)
{
    m_dividerPen = QPen(palette().color(QPalette::Light), 1, Qt::SolidLine);
    setItemDelegate(new CodeDescDelegate(this));
    setInsertPolicy(QComboBox::NoInsert);
    setEditable(false);
}

int CCodeDescCombo::AddItem(const std::string& code, const std::string& description, std::int32_t value)
{
    const QString text = QString::fromStdString(code);
    int index = count();
    if (m_bSorted) {
        index = 0;
        while (index < count() && itemText(index).compare(text, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    const bool wasNone = currentIndex() < 0;
    insertItem(index, text);
    setItemData(index, QString::fromStdString(description), kDescriptionRole);
    setItemData(index, value, kValueRole);
    if (wasNone)
        setCurrentIndex(-1);  // adding an item selects nothing, as a list box does
    return index;
}

std::int32_t CCodeDescCombo::ValueOfItem(int index) const
{
    const QVariant value = itemData(index, kValueRole);
    return value.isValid() ? value.toInt() : -1;
}

std::int32_t CCodeDescCombo::SelectedValue() const
{
    return currentIndex() < 0 ? -1 : ValueOfItem(currentIndex());
}

int CCodeDescCombo::FindValue(std::int32_t value) const
{
    for (int i = 0; i < count(); ++i)
        if (itemData(i, kValueRole).isValid() && ValueOfItem(i) == value)
            return i;
    return -1;
}

std::string CCodeDescCombo::CodeOfItem(int index) const { return itemText(index).toStdString(); }

std::string CCodeDescCombo::DescriptionOfItem(int index) const
{
    return itemData(index, kDescriptionRole).toString().toStdString();
}

std::string CCodeDescCombo::SelectedCode() const
{
    return currentIndex() < 0 ? std::string() : CodeOfItem(currentIndex());
}

int CCodeDescCombo::FindPrefix(const std::string& prefix) const
{
    const QString start = QString::fromStdString(prefix);
    for (int i = 0; i < count(); ++i)
        if (itemText(i).startsWith(start, Qt::CaseInsensitive))
            return i;
    return -1;
}

int CCodeDescCombo::SelectPrefix(const std::string& prefix)
{
    const int index = FindPrefix(prefix);
    setCurrentIndex(index);
    return index;
}

void CCodeDescCombo::AdjustWidths()
{
    const QFontMetrics metrics(font());
    m_nSpacing = metrics.horizontalAdvance('W');
    const int edge = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    int widestCode = 0, widestDescription = 0;
    m_nMaxCodeLength = 0;
    for (int i = 0; i < count(); ++i) {
        widestCode = std::max(widestCode, metrics.horizontalAdvance(itemText(i)));
        widestDescription = std::max(widestDescription, metrics.horizontalAdvance(itemData(i, kDescriptionRole).toString()));
        m_nMaxCodeLength = std::max(m_nMaxCodeLength, static_cast<int>(itemText(i).size()));
    }
    m_nCodeWidth = widestCode + m_nSpacing + edge;
    m_nDescWidth = widestDescription + m_nSpacing + edge + scrollBar;
    view()->setMinimumWidth(m_nCodeWidth + m_nDescWidth);
}

void CCodeDescCombo::FillFromTable(CADODataBase& db, const char* table, const std::string& filter, const char* codeColumn,
                                   const char* descriptionColumn, const char* valueColumn, const char* sort)
{
    clear();
    CAdoRecordset rows(&db);
    rows.m_strFilter = filter;
    rows.m_strSort = sort;
    if (rows.OpenTable(table)) {
        for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext())
            AddItem(rows.GetDF_Text(codeColumn), rows.GetDF_Text(descriptionColumn),
                    valueColumn ? rows.GetDF_Short(valueColumn) : 0);
        rows.Close();
    }
    AdjustWidths();
}
