// ReportFactory: the report object that prints a choice of report settings. The five report
// classes derive from CExpenseReport; only this file knows all of them, so the base stays free
// of its subclasses.
#pragma once

#include <memory>

#include "reports/CExpenseReport.h"

class CADODataBase;
struct ReportSettings;

class ReportFactory {
public:
    // The report for settings.m_nKind; none for a kind that does not exist.
    static std::unique_ptr<CExpenseReport> Create(CADODataBase& db, const ReportSettings& settings);
};
