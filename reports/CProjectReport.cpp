// The rows, keys and titles of the project reports.
#include "reports/CProjectReport.h"

#include "database/ExpenseRow.h"
#include "database/ExpenseSchema.h"
#include "platform/ado/SqlText.h"

CProjectReport::CProjectReport(CADODataBase& db, const ReportSettings& settings)
    : CExpenseReport(db, settings), m_rsStatuses(&db)
{
}

bool CProjectReport::OpenReportData()
{
    const char* order = m_settings.m_nGroupBy == GroupBy::Status ? " ORDER BY Status ASC, ExpCat ASC, ExpDate ASC;"
                                                                 : " ORDER BY ExpCat ASC, Status ASC, ExpDate ASC;";
    if (!OpenMain("SELECT * FROM Expenses WHERE ExpType=" + std::to_string(m_settings.m_nExpType) +
                  " AND ProjectID=" + std::to_string(m_settings.m_lProjectID) + " AND " + m_settings.m_strStatusFilter +
                  order))
        return false;
    // Either lookup may be missing from an old file: the lines then go without its descriptions.
    (void)OpenCategories();
    (void)m_rsStatuses.OpenTable(schema::statuses::kTable);
    return true;
}

std::string CProjectReport::Title() const
{
    return "Expenses for " + m_settings.m_strTitle;
}

std::string CProjectReport::TotalLabel() const
{
    return "Total Expenses for " + m_settings.m_strTitle + ":";
}

std::string CProjectReport::StatusCode(std::int16_t nStatus)
{
    return m_rsStatuses.IsOpen() ? m_rsStatuses.LookupText(schema::statuses::kStatus, nStatus, schema::statuses::kStatusCode)
                                 : std::string();
}

std::string CProjectReport::GroupKey(GroupBy by, const ExpenseRow& row)
{
    return by == GroupBy::Category ? row.m_strExpCat : StatusCode(row.m_nStatus.value_or(0));
}

std::string CProjectReport::GroupDescription(GroupBy by, const std::string& key)
{
    if (by == GroupBy::Category)
        return CategoryDescription(key);
    m_rsStatuses.m_strFind = std::string(schema::statuses::kStatusCode) + "=" + ado::quoteText(key);
    return m_rsStatuses.IsOpen() && m_rsStatuses.FindFirst() ? m_rsStatuses.GetDF_Text(schema::statuses::kStatDesc)
                                                             : std::string();
}
