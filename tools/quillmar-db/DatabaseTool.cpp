// Commands of quillmar-db.
#include "tools/quillmar-db/DatabaseTool.h"

#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <ostream>

#include "database/CDatabaseCreator.h"
#include "database/CsvExport.h"
#include "database/DatabaseBackup.h"
#include "database/ExpenseSchema.h"
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
    "  export PATH OUT.csv [--by-category] write every expense to a CSV file, as File >\n"
    "                                      Export... does\n"
    "  backup PATH [--to FILE] [--force]   write a compacted, dated copy, as File > Create\n"
    "                                      Backup... does\n"
    "  overview PATH [--by-year | --owed] [--csv OUT]\n"
    "                                      print the spending by year and type, and what is\n"
    "                                      still owed, as View > Overview... shows them\n"
    "  import PATH FILE [OPTIONS] [--dry-run] [--include-duplicates]\n"
    "                                      add the expenses of a CSV file (File > Export's,\n"
    "                                      or a bank's) or an OFX/QFX statement\n"
    "  convert JET.mdb NEW.mdb [--force] [--skip-bad-rows]\n"
    "                                      copy the expenses of an Access (Jet) database\n"
    "                                      into a new Quillmar database\n"
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

const char* const kExportHelp =
    "Usage: quillmar-db export PATH OUT.csv [--by-category]\n"
    "\n"
    "Writes every expense of the database at PATH to OUT.csv, the file Quillmar's File >\n"
    "Export... writes: twelve fields a line (date, type, category, item, amount, reimbursed,\n"
    "project, status, vendor, account, check number, detail), UTF-8, CR LF line ends, in the\n"
    "tree's order sorted by date, or by category with --by-category. OUT.csv is replaced only\n"
    "once the new file is complete.\n";

const char* const kBackupHelp =
    "Usage: quillmar-db backup PATH [--to FILE] [--force]\n"
    "\n"
    "Writes a compacted copy of the database at PATH, as Quillmar's File > Create Backup...\n"
    "does: by default as \"Exp\" + today's date (YYMMDD) + PATH's extension in PATH's folder;\n"
    "with --to, as FILE (a bare name goes into PATH's folder). The database's own file is\n"
    "refused, and so is an existing file unless --force is given.\n"
    "\n"
    "  --to FILE   where the copy goes\n"
    "  --force     replace FILE if it exists (only once the copy is complete)\n";

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
    if (command == "export")
        return exportCsv(rest);
    if (command == "backup")
        return backup(rest);
    if (command == "convert")
        return convert(rest);
    if (command == "overview")
        return printOverview(rest);
    if (command == "import")
        return importCsv(rest);
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

int DatabaseTool::exportCsv(const std::vector<std::string>& arguments)
{
    if (cli::WantsHelp(arguments)) {
        m_out << kExportHelp;
        return 0;
    }
    std::vector<std::string> paths;
    bool byCategory = false;
    for (const auto& argument : arguments) {
        if (argument == "--by-category")
            byCategory = true;
        else if (argument.rfind("--", 0) == 0)
            return usageError("unknown option '" + argument + "'", kExportHelp);
        else
            paths.push_back(argument);
    }
    if (paths.size() != 2)
        return usageError("export takes a database path and an output path", kExportHelp);
    CADODataBase db;
    if (!db.Open(paths[0])) {
        m_err << "quillmar-db: cannot open " << paths[0] << ": " << db.LastFailure().description << "\n";
        return 1;
    }
    // The record sets the tree opens, in the same orders.
    CAdoRecordset expenses(&db), types(&db), projects(&db), statuses(&db);
    expenses.m_strSort = byCategory ? schema::expenses::kSortByCategory : schema::expenses::kSortByDate;
    statuses.m_strSort = "Status ASC";
    for (auto [rs, table] : {std::pair{&expenses, schema::expenses::kTable}, {&types, schema::types::kTable},
                             {&projects, schema::projects::kTable}, {&statuses, schema::statuses::kTable}}) {
        if (!rs->OpenTable(table)) {
            m_err << "quillmar-db: cannot read " << table << " of " << paths[0] << ": " << rs->LastFailure().description << "\n";
            return 1;
        }
    }
    std::string error;
    if (!CsvExport(types, projects, statuses).Write(expenses, paths[1], error)) {
        m_err << "quillmar-db: Unable to create export file " << paths[1] << ": " << error << "\n";
        return 1;
    }
    m_out << "Wrote " << expenses.GetRecordCount() << " expenses to " << paths[1] << "\n";
    return 0;
}

int DatabaseTool::backup(const std::vector<std::string>& arguments)
{
    if (cli::WantsHelp(arguments)) {
        m_out << kBackupHelp;
        return 0;
    }
    std::string path, to;
    bool force = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--force") {
            force = true;
        } else if (argument == "--to") {
            if (i + 1 >= arguments.size())
                return usageError("--to needs a file", kBackupHelp);
            to = arguments[++i];
        } else if (argument.rfind("--", 0) == 0) {
            return usageError("unknown option '" + argument + "'", kBackupHelp);
        } else if (path.empty()) {
            path = argument;
        } else {
            return usageError("more than one path given", kBackupHelp);
        }
    }
    if (path.empty())
        return usageError("no database path given", kBackupHelp);
    if (!std::filesystem::is_regular_file(path)) {
        m_err << "quillmar-db: " << path << " is not a database file\n";
        return 1;
    }
    const DatabaseBackup backup(path);
    const std::string target = backup.Target(to.empty() ? backup.ProposedName() : to);
    if (backup.IsCurrentDatabase(target)) {
        m_err << "quillmar-db: Cannot over-write current Expense database.\n";
        return 1;
    }
    if (std::filesystem::exists(target) && !force) {
        m_err << "quillmar-db: " << target << " already exists; give --force to replace it\n";
        return 1;
    }
    CADODataBase db;
    std::string error;
    if (!backup.Write(db, target, error)) {
        m_err << "quillmar-db: the backup could not be written to " << target << ": " << error << "\n";
        return 1;
    }
    m_out << "Wrote a compacted copy of " << path << " to " << target << "\n";
    return 0;
}

