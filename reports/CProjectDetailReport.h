// CProjectDetailReport: every expense of one project, grouped by category or by billing
// status under a heading, one line each (the other key, item, date, vendor, payment, amount),
// each group closed by its subtotal and the project by its total.
#pragma once

#include "reports/CProjectReport.h"

class CProjectDetailReport : public CProjectReport {
public:
    using CProjectReport::CProjectReport;

protected:
    void SetupColumns(int u) override;
    void BuildLines() override;
};
