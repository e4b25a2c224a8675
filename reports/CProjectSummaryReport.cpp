// The project summary report's columns and lines.
#include "reports/CProjectSummaryReport.h"

#include "database/ExpenseRow.h"

void CProjectSummaryReport::SetupColumns(int u)
{
    if (m_settings.m_nGroupBy == GroupBy::Status) {
        AddColumn("Stat", u, u / 4);
        AddColumn("Cat", u + 3 * u / 8, 5 * u / 8);
        AddColumn("Description", 2 * u + u / 8, 2 * u);
    } else {
        AddColumn("Cat", u, u / 4);
        AddColumn("Stat", u + 3 * u / 8, 3 * u / 8);
        AddColumn("Description", u + 7 * u / 8, 2 * u + u / 4);
    }
    AddColumn("Amount", 4 * u + u / 4, 3 * u / 4, CReportColumn::kRight);
    SetLabelColumn(u, 3 * u + u / 8);
    SetTotalRule(u, 5 * u);
}

void CProjectSummaryReport::BuildLines()
{
    constexpr int kAmount = 3;
    const GroupBy by = m_settings.m_nGroupBy, subBy = OtherGrouping(by);
    std::string group, description, subKey;
    int heading = -1;
    ole::Currency subSum, subtotal, total;
    bool any = false;
    const auto subLine = [&] {
        AddRow({"", subKey, GroupDescription(subBy, subKey), Amount(subSum)}, heading);
        subSum = {};
    };
    ForEachRow([&](const ExpenseRow& row) {
        const std::string rowGroup = GroupKey(by, row), rowSubKey = GroupKey(subBy, row);
        if (!any || rowGroup != group) {
            if (any) {
                subLine();
                AddSubtotal(group, description, subtotal, kAmount);
            }
            subtotal = {};
            group = rowGroup;
            description = GroupDescription(by, group);
            heading = AddHeading(group + " - " + description);
            subKey = rowSubKey;
            any = true;
        } else if (rowSubKey != subKey) {
            subLine();
            subKey = rowSubKey;
        }
        subSum += row.m_cyAmount;
        subtotal += row.m_cyAmount;
        total += row.m_cyAmount;
    });
    if (!any)
        return;
    subLine();
    AddSubtotal(group, description, subtotal, kAmount);
    AddTotal(total, kAmount);
}
