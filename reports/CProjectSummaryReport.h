// CProjectSummaryReport: one project grouped by category or by billing status under a
// heading, with one line per value of the other key and its sum, each group closed by its
// subtotal and the project by its total.
#pragma once

#include "reports/CProjectReport.h"

class CProjectSummaryReport : public CProjectReport {
public:
    using CProjectReport::CProjectReport;

protected:
    void SetupColumns(int u) override;
    void BuildLines() override;
};
