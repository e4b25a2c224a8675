// CYearReport: what the three reports of one expense type and year share: their rows (the type's
// expenses of the year by category and date), the type's categories, the title "<type> for
// <year>" and the total label.
#pragma once

#include "reports/CExpenseReport.h"

class CYearReport : public CExpenseReport {
public:
    using CExpenseReport::CExpenseReport;

protected:
    bool OpenReportData() override;
    std::string Title() const override;
    std::string TotalLabel() const override;
};
