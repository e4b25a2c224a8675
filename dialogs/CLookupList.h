// CLookupList: the list of a lookup editor (accounts, projects): a report list with grid lines
// and full-row, single selection, whose columns keep fixed shares of its width. Each row carries
// a copy of its table row's bookmark. Enter or a double click on a row asks to edit it, the
// Delete key to delete it.
#pragma once

#include <QTableWidget>
#include <optional>
#include <vector>

#include "platform/ole/Variant.h"

class CLookupList : public QTableWidget {
    Q_OBJECT
public:
    explicit CLookupList(QWidget* parent = nullptr);

    // Column heads, each column's share of the list's inner width, and its text alignment.
    struct Column {
        QString head;
        double share;
        Qt::Alignment alignment = Qt::AlignLeft;
    };
    void SetColumns(std::vector<Column> columns);

    void InsertRow(int row, const QStringList& texts, const ole::Variant& bookmark, bool bSelect);
    void SetTexts(int row, const QStringList& texts);
    std::optional<ole::Variant> Bookmark(int row) const;
    int SelectedRow() const;  // -1 when no row is selected

signals:
    void EditRequested(int row);
    void DeleteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyWidths();

    std::vector<Column> m_columns;
};
