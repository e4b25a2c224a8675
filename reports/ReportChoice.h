// ReportChoice: turning a choice of type, year or project, form, grouping and statuses into the
// report settings, with the lookups that name the report. The options dialog and
// quillmar-report share it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "reports/ReportSettings.h"

class CAdoRecordset;

class ReportChoice {
public:
    // types: lkpExpTypes; projects: Projects (both open; their current rows move).
    ReportChoice(CAdoRecordset& types, CAdoRecordset& projects) : m_types(types), m_projects(projects) {}

    // A user type (above 9) whose row has ExpComp 2; the system's types never are.
    bool IsProjectType(std::int16_t nType);
    // "Status=2", "Status IN (1,2,3)", or empty for none.
    static std::string StatusFilter(const std::vector<std::int16_t>& statuses);
    // The settings for a type and a year or project (nKey), the form and, for a project type,
    // the grouping and statuses. The title is the project's name for a project type, else the
    // type's description ("<unknown>", "<unknown project>" when a lookup fails).
    ReportSettings Settings(std::int16_t nType, std::int32_t nKey, bool bSummary, GroupBy groupBy,
                            const std::vector<std::int16_t>& statuses);

private:
    CAdoRecordset& m_types;
    CAdoRecordset& m_projects;
};
