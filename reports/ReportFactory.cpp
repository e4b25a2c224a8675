// From a report kind to its report class.
#include "reports/ReportFactory.h"

#include "reports/CProjectDetailReport.h"
#include "reports/CProjectSummaryReport.h"
#include "reports/CYearDetailReport.h"
#include "reports/CYearListReport.h"
#include "reports/CYearSummaryReport.h"

std::unique_ptr<CExpenseReport> ReportFactory::Create(CADODataBase& db, const ReportSettings& settings)
{
    switch (settings.m_nKind) {
    case ReportKind::TaxYearDetail:
    case ReportKind::YearDetail: return std::make_unique<CYearDetailReport>(db, settings);
    case ReportKind::EstimatedTaxYearList: return std::make_unique<CYearListReport>(db, settings);
    case ReportKind::ProjectDetail: return std::make_unique<CProjectDetailReport>(db, settings);
    case ReportKind::TaxYearSummary:
    case ReportKind::YearSummary: return std::make_unique<CYearSummaryReport>(db, settings);
    case ReportKind::ProjectSummary: return std::make_unique<CProjectSummaryReport>(db, settings);
    }
    return nullptr;  // a number that names no kind
}
