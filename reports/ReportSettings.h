// ReportSettings: what the report options dialog chose and the report reads: the kind, the
// expense type, the year or project, the grouping and the billing statuses to include.
#pragma once

#include <cstdint>
#include <string>

#include "reports/ReportKind.h"

// How a project report groups its expenses; the numbers are the grouping radio's values.
enum class GroupBy : std::int32_t {
    Category = 0,  // by category, the billing status within
    Status = 1,    // by billing status, the category within
};

// The grouping radio's value (0 "by Category", 1 "by Status") as a grouping.
constexpr GroupBy GroupByOfRadio(int nRadio) { return nRadio == 1 ? GroupBy::Status : GroupBy::Category; }

// The key within a group: a project summary's lines below each group heading.
constexpr GroupBy OtherGrouping(GroupBy by) { return by == GroupBy::Status ? GroupBy::Category : GroupBy::Status; }

struct ReportSettings {
    ReportKind m_nKind = ReportKind::TaxYearDetail;  // which report (ReportKindFor)
    std::int16_t m_nExpType = 0;
    std::string m_strTitle;                  // ProjectName of a project type, else ExpDesc of the type
    std::int16_t m_nYear = 0;                // the kinds by year
    std::int32_t m_lProjectID = 0;           // the project kinds
    GroupBy m_nGroupBy = GroupBy::Category;  // the project kinds
    std::string m_strStatusFilter;           // the project kinds: the condition on Status, e.g. "Status IN (1,2)"
};
