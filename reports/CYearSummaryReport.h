// CYearSummaryReport: one line per category of one type and year, with its description and
// sum, and the year's total.
#pragma once

#include "reports/CYearReport.h"

class CYearSummaryReport : public CYearReport {
public:
    using CYearReport::CYearReport;

protected:
    void SetupColumns(int u) override;
    void BuildLines() override;
};
