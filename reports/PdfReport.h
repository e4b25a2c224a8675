// PdfReport: a report written to a PDF file page by page, laid out for the chosen paper and
// resolution. The file is written beside the target and put in its place only when complete.
#pragma once

#include <QPageSize>
#include <string>

class CExpenseReport;

class PdfReport {
public:
    // False with the reason in error; the page count in nPages.
    static bool Write(CExpenseReport& report, const std::string& path, QPageSize::PageSizeId pageSize, int nDpi,
                      int& nPages, std::string& error);
};
