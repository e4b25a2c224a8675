// Commands of quillmar-db.
#include "tools/quillmar-db/DatabaseTool.h"

#include <iomanip>
#include <ostream>

#include "database/CDatabaseCreator.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "tools/CommandLine.h"
#include "tools/quillmar-db/CDemoDataWriter.h"

namespace {

const char* const kMainHelp =
    "Usage: quillmar-db COMMAND [OPTIONS]\n"
    "\n"
    "Creates and inspects Quillmar expense databases.\n"
    "\n"
    "Commands:\n"
    "  create PATH [--force]               write a new, empty expense database\n"
    "  demo PATH [--expenses N] [--seed S] [--force]\n"
    "                                      write a database filled with demo data\n"
    "  info PATH                           print the row count of each table and the\n"
    "                                      version rows\n"
    "\n"
    "Run 'quillmar-db COMMAND --help' for the options of one command.\n";

const char* const kCreateHelp =
    "Usage: quillmar-db create PATH [--force]\n"
    "\n"
    "Writes a new, empty expense database at PATH: every table, the version rows, the billing\n"
    "statuses, the two built-in expense types with one category each, and one account.\n"
    "\n"
    "  --force   replace PATH if it exists (only once the new file is complete)\n";

const char* const kDemoHelp =
    "Usage: quillmar-db demo PATH [--expenses N] [--seed S] [--force]\n"
    "\n"
    "Writes an expense database filled with realistic demo data: thirty expense types with\n"
    "categories, accounts, active and inactive projects, and N expenses over the last ten years.\n"
    "\n"
    "  --expenses N   number of expenses (default 3000)\n"
    "  --seed S       random seed (default 1); the same seed gives the same data\n"
    "  --force        replace PATH if it exists (only once the new file is complete)\n";

const char* const kInfoHelp =
    "Usage: quillmar-db info PATH\n"
    "\n"
    "Prints the number of rows in each table of the expense database at PATH and its\n"
    "version rows. Nothing is written. A damaged file (one that fails SQLite's integrity\n"
    "check) is refused with SQLite's report and exit status 1.\n";

const char* const kTables[] = {"Expenses", "lkpExpTypes", "lkpExpCategories", "lkpAccounts",
                               "Projects", "lkpExpBillStatus", "QlVersion"};

}  // namespace

int DatabaseTool::usageError(const std::string& message, const char* help)
{
    m_err << "quillmar-db: " << message << "\n\n" << help;
    return 2;
}

int DatabaseTool::run(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return usageError("no command given", kMainHelp);
    const std::string& command = arguments.front();
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "--help" || command == "-h" || command == "help") {
        m_out << kMainHelp;
        return 0;
    }
    if (command == "create")
        return create(rest);
    if (command == "demo")
        return demo(rest);
    if (command == "info")
        return info(rest);
    return usageError("unknown command '" + command + "'", kMainHelp);
}

int DatabaseTool::create(const std::vector<std::string>& arguments)
{
    if (cli::WantsHelp(arguments)) {
        m_out << kCreateHelp;
        return 0;
    }
    std::string path;
    bool force = false;
    for (const auto& argument : arguments) {
        if (argument == "--force")
            force = true;
        else if (argument.rfind("--", 0) == 0)
            return usageError("unknown option '" + argument + "'", kCreateHelp);
        else if (path.empty())
            path = argument;
        else
            return usageError("more than one path given", kCreateHelp);
    }
    if (path.empty())
        return usageError("no database path given", kCreateHelp);
    try {
        CDatabaseCreator::CreateEmpty(path, force);
    } catch (const std::exception& error) {
        m_err << "quillmar-db: " << error.what() << "\n";
        return 1;
    }
    m_out << "Created empty expense database " << path << "\n";
    return 0;
}

int DatabaseTool::demo(const std::vector<std::string>& arguments)
{
    if (cli::WantsHelp(arguments)) {
        m_out << kDemoHelp;
        return 0;
    }
    std::string path;
    bool force = false;
    CDemoDataWriter::Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--force") {
            force = true;
        } else if (argument == "--expenses" || argument == "--seed") {
            if (i + 1 >= arguments.size())
                return usageError(argument + " needs a value", kDemoHelp);
            const std::string& value = arguments[++i];
            const bool ok = argument == "--expenses" ? cli::ParseNumber(value, options.expenses) && options.expenses >= 0
                                                     : cli::ParseNumber(value, options.seed);
            if (!ok)
                return usageError("'" + value + "' is not a valid value for " + argument, kDemoHelp);
        } else if (argument.rfind("--", 0) == 0) {
            return usageError("unknown option '" + argument + "'", kDemoHelp);
        } else if (path.empty()) {
            path = argument;
        } else {
            return usageError("more than one path given", kDemoHelp);
        }
    }
    if (path.empty())
        return usageError("no database path given", kDemoHelp);
    try {
        CDemoDataWriter::Create(path, options, force);
    } catch (const std::exception& error) {
        m_err << "quillmar-db: " << error.what() << "\n";
        return 1;
    }
    m_out << "Created demo expense database " << path << " with " << options.expenses << " expenses\n";
    return 0;
}

int DatabaseTool::info(const std::vector<std::string>& arguments)
{
    if (cli::WantsHelp(arguments)) {
        m_out << kInfoHelp;
        return 0;
    }
    if (arguments.size() != 1 || arguments.front().rfind("--", 0) == 0)
        return usageError(arguments.empty() ? "no database path given" : "info takes exactly one path", kInfoHelp);
    const std::string& path = arguments.front();

    CADODataBase db;
    if (!db.Open(path)) {
        m_err << "quillmar-db: cannot open " << path << ": " << db.LastFailure().description << "\n";
        return 1;
    }
    m_out << "Database " << path << "\n\n" << std::left << std::setw(20) << "Table" << "Rows\n";
    std::vector<std::string> missing;
    for (const char* table : kTables) {
        CAdoRecordset rs(&db);
        m_out << std::setw(20) << table;
        if (rs.OpenTable(table)) {
            m_out << rs.GetRecordCount() << "\n";
        } else {
            m_out << "(cannot be read)\n";
            missing.emplace_back(table);
        }
    }

    CAdoRecordset version(&db);
    if (version.OpenTable("QlVersion")) {
        m_out << "\nQlVersion\n" << std::setw(12) << "AppCode" << std::setw(8) << "Major" << "Minor\n";
        for (version.MoveFirst(); !version.IsEOF(); version.MoveNext()) {
            m_out << std::setw(12) << version.GetDF_Text("AppCode") << std::setw(8)
                  << version.GetDF_Short("Major") << version.GetDF_Short("Minor") << "\n";
        }
    }
    if (!missing.empty()) {
        m_err << "quillmar-db: " << path << " is not a complete expense database; cannot read:";
        for (const auto& table : missing)
            m_err << " " << table;
        m_err << "\n";
        return 1;
    }
    return 0;
}
