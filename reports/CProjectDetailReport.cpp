// The project detail report's columns and lines.
#include "reports/CProjectDetailReport.h"

#include "database/ExpenseRow.h"

void CProjectDetailReport::SetupColumns(int u)
{
    if (m_settings.m_nGroupBy == GroupBy::Status) {
        AddColumn("Stat", 0, u / 4);
        AddColumn("Cat", 3 * u / 8, 5 * u / 8);
        AddColumn("Item", u + u / 8, u + 3 * u / 4);
    } else {
        AddColumn("Cat", 0, u / 4);
        AddColumn("Stat", 3 * u / 8, u / 4);
        AddColumn("Item", 3 * u / 4, 2 * u + u / 8);
    }
    AddColumn("Date", 3 * u, 3 * u / 8);
    AddColumn("Vendor", 3 * u + u / 2, 7 * u / 8);
    AddColumn("Payment", 4 * u + u / 2, 3 * u / 4);
    AddColumn("Amount", 5 * u + 3 * u / 8, 5 * u / 8, CReportColumn::kRight);
    SetLabelColumn(0, 5 * u + u / 8);
}

void CProjectDetailReport::BuildLines()
{
    constexpr int kAmount = 6;
    const bool byStatus = m_settings.m_nGroupBy == GroupBy::Status;
    std::string key, description;
    int heading = -1;
    ole::Currency subtotal, total;
    bool any = false;
    ForEachRow([&](const ExpenseRow& row) {
        const std::string rowKey = GroupKey(m_settings.m_nGroupBy, row);
        if (!any || rowKey != key) {
            if (any)
                AddSubtotal(key, description, subtotal, kAmount);
            subtotal = {};
            key = rowKey;
            description = GroupDescription(m_settings.m_nGroupBy, key);
            heading = AddHeading(key + " - " + (description.empty() ? "<no description>" : description));
            any = true;
        }
        auto cells = DetailCells(row, 2);
        cells[1] = byStatus ? row.m_strExpCat : StatusCode(row.m_nStatus.value_or(0));
        AddRow(std::move(cells), heading);
        subtotal += row.m_cyAmount;
        total += row.m_cyAmount;
    });
    if (!any)
        return;
    AddSubtotal(key, description, subtotal, kAmount);
    AddTotal(total, kAmount);
}
