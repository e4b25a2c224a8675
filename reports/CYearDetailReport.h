// CYearDetailReport: every expense of one type and year, grouped by category under a heading
// with the category's description, one line each (item, date, vendor, payment, amount), each
// category closed by its subtotal and the year by its total.
#pragma once

#include "reports/CYearReport.h"

class CYearDetailReport : public CYearReport {
public:
    using CYearReport::CYearReport;

protected:
    void SetupColumns(int u) override;
    void BuildLines() override;
};
