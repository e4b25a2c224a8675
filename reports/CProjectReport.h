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

    // 0: the row's category; 1: its status code.
    std::string GroupKey(int nBy, const ExpenseRow& row);
    // 0: the category's description; 1: the status code's description; empty when not found.
    std::string GroupDescription(int nBy, const std::string& key);
    std::string StatusCode(std::int16_t nStatus);

    CAdoRecordset m_rsStatuses;  // lkpExpBillStatus
};
