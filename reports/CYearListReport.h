// CYearListReport: every expense of type 1 and one year, one line each with its category
// code (no headings), each category closed by a subtotal labelled with its code, the year by
// its total.
#pragma once

#include "reports/CYearReport.h"

class CYearListReport : public CYearReport {
public:
    using CYearReport::CYearReport;

protected:
    void SetupColumns(int u) override;
    void BuildLines() override;
};
