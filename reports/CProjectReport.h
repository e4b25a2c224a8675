// CProjectReport: what the two project reports share: their rows (one project's expenses of the
// chosen statuses, by category or by status), the categories and billing statuses they name,
// the grouping keys and descriptions, the title "Expenses for <project>" and the total label.
#pragma once

#include <unordered_map>

#include "reports/CExpenseReport.h"

class CProjectReport : public CExpenseReport {
public:
    CProjectReport(CADODataBase& db, const ReportSettings& settings);

protected:
    bool OpenReportData() override;
    std::string Title() const override;
    std::string TotalLabel() const override;

    // The row's category, or its status code.
    std::string GroupKey(GroupBy by, const ExpenseRow& row);
    // The category's description, or the status code's; empty when not found.
    std::string GroupDescription(GroupBy by, const std::string& key);
    std::string StatusCode(std::int16_t nStatus);

    CAdoRecordset m_rsStatuses;  // lkpExpBillStatus
};
