// The command-line front of the database creator: `create`, `demo` and `info`. Kept apart from
// main() so tests can run it with their own streams.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class DatabaseTool {
public:
    DatabaseTool(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

    // Runs one command line (without the program name); returns the exit status:
    // 0 success, 1 failure, 2 a command line that cannot be understood.
    int run(const std::vector<std::string>& arguments);

private:
    int create(const std::vector<std::string>& arguments);
    int demo(const std::vector<std::string>& arguments);
    int info(const std::vector<std::string>& arguments);
    int exportCsv(const std::vector<std::string>& arguments);
    int backup(const std::vector<std::string>& arguments);
    int convert(const std::vector<std::string>& arguments);
    int printOverview(const std::vector<std::string>& arguments);
    int importCsv(const std::vector<std::string>& arguments);
    int usageError(const std::string& message, const char* help);

    std::ostream& m_out;  // results and help
    std::ostream& m_err;  // errors
};
