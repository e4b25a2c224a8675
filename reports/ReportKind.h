// ReportKind: the seven reports the options dialog and quillmar-report can choose, named by the
// kind of expense type, what one report covers and its form. The numbers are those the kind has
// always had in ReportSettings (m_nKind, 0 to 6); ReportKindFor is the one place a choice of type
// and form becomes a kind.
#pragma once

#include <cstdint>

#include "database/ExpenseSchema.h"

enum class ReportKind : std::int32_t {
    TaxYearDetail = 0,         // type 0 (tax), one year, every expense (CYearDetailReport)
    EstimatedTaxYearList = 1,  // type 1 (estimated tax), one year, every expense (CYearListReport)
    YearDetail = 2,            // another type kept by year, one year, every expense (CYearDetailReport)
    ProjectDetail = 3,         // a project type, one project, every expense (CProjectDetailReport)
    TaxYearSummary = 4,        // type 0, one year, a line per category (CYearSummaryReport)
    YearSummary = 5,           // another type kept by year, a line per category (CYearSummaryReport)
    ProjectSummary = 6,        // a project type, one project, a line per group and key (CProjectSummaryReport)
};

// The kind for an expense type, whether it is a project type (ReportChoice::IsProjectType) and
// whether the summary form was chosen. Type 1 has a list and no summary.
constexpr ReportKind ReportKindFor(std::int16_t nType, bool bProjectType, bool bSummary)
{
    if (bProjectType)
        return bSummary ? ReportKind::ProjectSummary : ReportKind::ProjectDetail;
    switch (nType) {
    case schema::typerange::kTax: return bSummary ? ReportKind::TaxYearSummary : ReportKind::TaxYearDetail;
    case schema::typerange::kEstimatedTax: return ReportKind::EstimatedTaxYearList;
    default: return bSummary ? ReportKind::YearSummary : ReportKind::YearDetail;
    }
}
