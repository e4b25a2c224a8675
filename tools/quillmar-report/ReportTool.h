// ReportTool: quillmar-report, which writes any report of an expense database to a PDF file
// without a display, with the code the desktop program prints with.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class ReportTool {
public:
    ReportTool(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}
    // 0 written, 1 a failure (database, report, file), 2 a usage error.
    int run(const std::vector<std::string>& arguments);

private:
    int usageError(const std::string& message);

    std::ostream& m_out;
    std::ostream& m_err;
};
