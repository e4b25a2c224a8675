// The year list report's columns and lines.
#include "reports/CYearListReport.h"

#include "database/ExpenseRow.h"

void CYearListReport::SetupColumns(int u)
{
    AddColumn("Cat", 0, 5 * u / 8);
    AddColumn("Date", 3 * u / 4, 5 * u / 8);
    AddColumn("Description", u + u / 2, 2 * u + u / 2);
    AddColumn("Payment", 4 * u + u / 8, 7 * u / 8);
    AddColumn("Amount", 5 * u + u / 8, 7 * u / 8, CReportColumn::kRight);
    SetLabelColumn(0, 5 * u);
}

void CYearListReport::BuildLines()
{
    constexpr int kAmount = 4;
    std::string key;
    ole::Currency subtotal, total;
    bool any = false;
    ForEachRow([&](const ExpenseRow& row) {
        if (any && row.m_strExpCat != key) {
            AddSubtotal(key, "", subtotal, kAmount);  // labelled with the code: the list has no descriptions
            subtotal = {};
        }
        key = row.m_strExpCat;
        any = true;
        auto cells = Cells();
        cells[0] = row.m_strExpCat;
        cells[1] = row.m_dtDate.format("%m/%d/%y");
        cells[2] = row.m_strItem;
        cells[3] = Payment(row);
        cells[4] = Amount(row.m_cyAmount);
        AddRow(std::move(cells), -1);
        subtotal += row.m_cyAmount;
        total += row.m_cyAmount;
    });
    if (!any)
        return;
    AddSubtotal(key, "", subtotal, kAmount);
    AddTotal(total, kAmount);
}
