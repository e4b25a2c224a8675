// From a choice to report settings.
#include "reports/ReportChoice.h"

#include "database/ExpenseSchema.h"
#include "dbaccess/CAdoRecordset.h"

bool ReportChoice::IsProjectType(std::int16_t nType)
{
    if (schema::typerange::IsSystem(nType))
        return false;
    m_types.m_strFind = std::string(schema::types::kExpType) + "=" + std::to_string(nType);
    return m_types.FindFirst() && m_types.GetDF_Byte(schema::types::kExpComp) == schema::comp::kReimbursable;
}

std::string ReportChoice::StatusFilter(const std::vector<std::int16_t>& statuses)
{
    if (statuses.empty())
        return {};
    if (statuses.size() == 1)
        return "Status=" + std::to_string(statuses.front());
    std::string filter = "Status IN (";
    for (std::size_t i = 0; i < statuses.size(); ++i)
        filter += (i ? "," : "") + std::to_string(statuses[i]);
    return filter + ")";
}

ReportSettings ReportChoice::Settings(std::int16_t nType, std::int32_t nKey, bool bSummary, GroupBy groupBy,
                                      const std::vector<std::int16_t>& statuses)
{
    ReportSettings settings;
    settings.m_nExpType = nType;
    const bool project = IsProjectType(nType);
    settings.m_nKind = ReportKindFor(nType, project, bSummary);
    if (project) {
        settings.m_lProjectID = nKey;
        settings.m_nGroupBy = groupBy;
        settings.m_strStatusFilter = StatusFilter(statuses);
    } else {
        settings.m_nYear = static_cast<std::int16_t>(nKey);
    }
    m_types.m_strFind = std::string(schema::types::kExpType) + "=" + std::to_string(nType);
    if (!m_types.FindFirst()) {
        settings.m_strTitle = "<unknown>";
    } else if (m_types.GetDF_Byte(schema::types::kExpComp) == schema::comp::kReimbursable) {
        m_projects.m_strFind = std::string(schema::projects::kProjectID) + "=" + std::to_string(nKey);
        settings.m_strTitle = m_projects.FindFirst() ? m_projects.GetDF_Text(schema::projects::kProjectName)
                                                     : std::string("<unknown project>");
    } else {
        settings.m_strTitle = m_types.GetDF_Text(schema::types::kExpDesc);
    }
    return settings;
}
