// The year detail report's columns and lines.
#include "reports/CYearDetailReport.h"

#include "database/ExpenseRow.h"

void CYearDetailReport::SetupColumns(int u)
{
    AddColumn("Cat", 0, 3 * u / 8);
    AddColumn("Item", u / 2, u + 7 * u / 8);
    AddColumn("Date", 2 * u + u / 2, u / 2);
    AddColumn("Vendor", 3 * u + u / 8, u);
    AddColumn("Payment", 4 * u + u / 4, 7 * u / 8);
    AddColumn("Amount", 5 * u + u / 4, 3 * u / 4, CReportColumn::kRight);
    SetLabelColumn(0, 5 * u + u / 8);
}

void CYearDetailReport::BuildLines()
{
    constexpr int kAmount = 5;
    std::string key, description;
    int heading = -1;
    ole::Currency subtotal, total;
    bool any = false;
    ForEachRow([&](const ExpenseRow& row) {
        if (!any || row.m_strExpCat != key) {
            if (any)
                AddSubtotal(key, description, subtotal, kAmount);
            subtotal = {};
            key = row.m_strExpCat;
            description = CategoryDescription(key);
            heading = AddHeading(key + " - " + (description.empty() ? "<no description>" : description));
            any = true;
        }
        AddRow(DetailCells(row, 1), heading);
        subtotal += row.m_cyAmount;
        total += row.m_cyAmount;
    });
    if (!any)
        return;
    AddSubtotal(key, description, subtotal, kAmount);
    AddTotal(total, kAmount);
}
