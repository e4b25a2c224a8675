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
    case 0:
    case 2: return std::make_unique<CYearDetailReport>(db, settings);
    case 1: return std::make_unique<CYearListReport>(db, settings);
    case 3: return std::make_unique<CProjectDetailReport>(db, settings);
    case 4:
    case 5: return std::make_unique<CYearSummaryReport>(db, settings);
    case 6: return std::make_unique<CProjectSummaryReport>(db, settings);
    default: return nullptr;
    }
}
