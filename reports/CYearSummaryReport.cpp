// The year summary report's columns and lines.
#include "reports/CYearSummaryReport.h"

#include "database/ExpenseRow.h"

void CYearSummaryReport::SetupColumns(int u)
{
    AddColumn("Cat", u, 3 * u / 4);
    AddColumn("Description", 2 * u, u + 7 * u / 8);
    AddColumn("Amount", 4 * u + u / 4, 3 * u / 4, CReportColumn::kRight);
    SetLabelColumn(u, 3 * u + u / 8);
    SetTotalRule(u, 5 * u);
}

void CYearSummaryReport::BuildLines()
{
    constexpr int kAmount = 2;
    std::string category;
    ole::Currency sum, total;
    bool any = false;
    const auto summaryLine = [&] {
        AddRow({category, CategoryDescription(category), Amount(sum)}, -1);
    };
    ForEachRow([&](const ExpenseRow& row) {
        if (any && row.m_strExpCat != category) {
            summaryLine();
            sum = {};
        }
        category = row.m_strExpCat;
        any = true;
        sum += row.m_cyAmount;
        total += row.m_cyAmount;
    });
    if (!any)
        return;
    summaryLine();
    AddTotal(total, kAmount);
}
