// CCodeDescCombo: the two-column lookup list of the expense dialogs and the status dialog. Each
// item carries a record (code, description, 32-bit value); the open list shows the code and the
// description in columns divided by a thin line, the closed box shows the code only. The item
// text (what the list sorts and searches by) is the code.
#pragma once

#include <QComboBox>
#include <QPen>
#include <string>

class CADODataBase;

class CCodeDescCombo : public QComboBox {
    Q_OBJECT
public:
    explicit CCodeDescCombo(QWidget* parent = nullptr);

    // A sorted list keeps its items in code order (letter case ignored), like the account list.
    void SetSorted(bool bSorted) { m_bSorted = bSorted; }

    int AddItem(const std::string& code, const std::string& description, std::int32_t value);
    std::int32_t ValueOfItem(int index) const;      // -1 for an item without a record
    std::int32_t SelectedValue() const;             // -1 when nothing is selected
    int FindValue(std::int32_t value) const;        // index, or -1
    std::string SelectedCode() const;               // "" when nothing is selected
    std::string CodeOfItem(int index) const;
    std::string DescriptionOfItem(int index) const;
    // Index of the first item whose code begins with prefix (letter case ignored), or -1.
    int FindPrefix(const std::string& prefix) const;
    // Selects that item (or clears the selection when there is none); answers the index.
    int SelectPrefix(const std::string& prefix);
    void ClearSelection() { setCurrentIndex(-1); }

    // Measures every item and sizes the two columns and the drop-down to fit.
    void AdjustWidths();

    // Empties the list and fills it from a table of its own record set (filter and sort as the
    // record set takes them; the value column may be null for 0), then adjusts the widths. A
    // table that cannot be opened leaves the list empty.
    void FillFromTable(CADODataBase& db, const char* table, const std::string& filter, const char* codeColumn,
                       const char* descriptionColumn, const char* valueColumn = nullptr, const char* sort = "");

    int CodeColumnWidth() const { return m_nCodeWidth; }
    int DescriptionColumnWidth() const { return m_nDescWidth; }
    int Spacing() const { return m_nSpacing; }
    int MaxCodeLength() const { return m_nMaxCodeLength; }
    const QPen& DividerPen() const { return m_dividerPen; }

private:
    bool m_bSorted = false;      // insert items in code order
    QPen m_dividerPen;           // solid, 1 pixel, the 3D-light colour
    int m_nCodeWidth = 0;        // code column, pixels
    int m_nDescWidth = 0;        // description column, pixels
    int m_nSpacing = 0;          // width of "W" in the control's font
    int m_nMaxCodeLength = 0;    // longest code, characters
};
