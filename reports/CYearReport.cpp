// The rows and titles of the year reports.
#include "reports/CYearReport.h"

bool CYearReport::OpenReportData()
{
    if (!OpenMain("SELECT * FROM Expenses WHERE ExpType=" + std::to_string(m_settings.m_nExpType) +
                  " AND ExpYear=" + std::to_string(m_settings.m_nYear) + " ORDER BY ExpYear ASC, ExpCat ASC, ExpDate ASC;"))
        return false;
    OpenCategories();
    return true;
}

std::string CYearReport::Title() const
{
    return m_settings.m_strTitle + " for " + std::to_string(m_settings.m_nYear);
}

std::string CYearReport::TotalLabel() const
{
    return "Total " + m_settings.m_strTitle + " for " + std::to_string(m_settings.m_nYear) + ":";
}
