// ReportPrinter: a report on paper or on screen. Print asks for the printer first and lays the
// pages out for it; the preview lays them out again whenever its printer or paper changes, and
// offers "Export PDF..." for a user without a printer.
#pragma once

#include <functional>

class CExpenseReport;
class QString;
class QPrinter;
class QWidget;

class ReportPrinter {
public:
    // status: told what a PDF export wrote.
    static void Preview(QWidget* parent, CExpenseReport& report,
                        const std::function<void(const QString&)>& status = {});
    static void Print(QWidget* parent, CExpenseReport& report);
    // Lays the report out for printer and draws its pages (the printer's page range, if set).
    // False when the printer cannot be started.
    static bool Render(CExpenseReport& report, QPrinter& printer);
};
