// ReportSettings: what the report options dialog chose and the report reads: the kind, the
// expense type, the year or project, the grouping and the billing statuses to include.
#pragma once

#include <cstdint>
#include <string>

struct ReportSettings {
    // 0 year detail (type 0), 1 year list (type 1), 2 year detail, 3 project detail,
    // 4 year summary (type 0), 5 year summary, 6 project summary.
    std::int32_t m_nKind = 0;
    std::int16_t m_nExpType = 0;
    std::string m_strTitle;          // ProjectName of a project type, else ExpDesc of the type
    std::int16_t m_nYear = 0;        // kinds 0, 1, 2, 4, 5
    std::int32_t m_lProjectID = 0;   // kinds 3, 6
    std::int32_t m_nGroupBy = 0;     // kinds 3, 6: 0 by category, 1 by status
    std::string m_strStatusFilter;   // kinds 3, 6: the condition on Status, e.g. "Status IN (1,2)"
};
