// The command-line front of the handheld stand-in: `init` makes a handheld directory with the
// handheld application on it, `add-expense` records an expense as the handheld application
// would, and `dump` prints every database of a handheld as readable text. Kept apart from main()
// so tests can run it with their own streams.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace palm {
class PalmDatabaseFile;
}

class HandheldTool {
public:
    HandheldTool(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}

    // Runs one command line (without the program name); returns the exit status:
    // 0 success, 1 failure, 2 a command line that cannot be understood.
    int run(const std::vector<std::string>& arguments);

private:
    int init(const std::vector<std::string>& arguments);
    int addExpense(const std::vector<std::string>& arguments);
    int dump(const std::vector<std::string>& arguments);
    int usageError(const std::string& message, const char* help);
    int failure(const std::string& message);

    void dumpDatabase(const palm::PalmDatabaseFile& db);
    void dumpRecord(const std::string& database, const std::vector<unsigned char>& data);
    void dumpResource(const std::string& database, std::uint32_t type, std::uint16_t id,
                      const std::vector<unsigned char>& data);

    std::ostream& m_out;  // results and help
    std::ostream& m_err;  // errors
};
