// Commands of quillmar-db that carry expenses between files and forms: convert (from an Access
// file), import (a CSV export) and overview (the Overview window's tables).
#include "tools/quillmar-db/DatabaseTool.h"

#include <algorithm>
#include <iomanip>
#include <map>
#include <ostream>

#include "database/ExpenseImport.h"
#include "database/JetConversion.h"
#include "database/Overview.h"
#include "dbaccess/CADODataBase.h"
#include "platform/fs/WholeFile.h"
#include "platform/jet/MdbSource.h"
#include "tools/CommandLine.h"

namespace {

const char* const kConvertHelp =
    "Usage: quillmar-db convert JET.mdb NEW.mdb [--force] [--skip-bad-rows]\n"
    "\n"
    "Copies the expense database in the Access (Jet 3 or Jet 4) file JET.mdb into a new Quillmar\n"
    "database NEW.mdb: every row of Expenses, lkpAccounts, lkpExpTypes, lkpExpCategories,\n"
    "Projects, lkpExpBillStatus and QlVersion, column by column. JET.mdb is only read. A row the\n"
    "expense database's rules refuse (a repeated lookup key, a text longer than its column, a date\n"
    "that cannot be a date) stops the conversion with its table, row and value, and nothing is\n"
    "written. NEW.mdb appears only once it is complete, passes the integrity check and holds as\n"
    "many rows and the same amounts as were read; its lookup version is moved on, so the next\n"
    "HotSync sends the lookup tables to the handheld.\n"
    "\n"
    "  --force           replace NEW.mdb if it exists (only once the new file is complete)\n"
    "  --skip-bad-rows   leave refused rows out and list each one instead of stopping\n";

const char* const kOverviewHelp =
    "Usage: quillmar-db overview PATH [--by-year | --owed] [--csv OUT]\n"
    "\n"
    "Prints the two tables of Quillmar's View > Overview... for the database at PATH: the amounts\n"
    "of each calendar year per expense type with totals (--by-year), and per project of a\n"
    "reimbursable type the reimbursed amounts still incurred (IN) or submitted (SU) with the oldest\n"
    "such expense's date and age in days (--owed). Without either, both. Nothing is written to PATH.\n"
    "\n"
    "  --csv OUT   write the one table chosen to OUT as CSV instead of printing it\n";

// A table's lines in columns as wide as their widest text.
void PrintTable(std::ostream& out, const std::vector<std::vector<std::string>>& lines)
{
    std::vector<std::size_t> widths;
    for (const auto& line : lines)
        for (std::size_t i = 0; i < line.size(); ++i) {
            widths.resize(std::max(widths.size(), line.size()));
            widths[i] = std::max(widths[i], line[i].size());
        }
    for (const auto& line : lines) {
        for (std::size_t i = 0; i < line.size(); ++i)
            out << (i ? "  " : "") << (i ? std::right : std::left) << std::setw(static_cast<int>(widths[i])) << line[i];
        out << std::left << "\n";
    }
}

const char* const kImportHelp =
    "Usage: quillmar-db import PATH FILE [OPTIONS] [--dry-run] [--include-duplicates]\n"
    "\n"
    "Adds to the database at PATH the expenses of FILE.csv, a file in the form File > Export...\n"
    "and `quillmar-db export` write (twelve fields a line; UTF-8, UTF-16 with a byte-order mark or\n"
    "Windows-1252). Type labels, project names and status codes are found again in PATH's lookup\n"
    "tables. An expense with the date, amount and vendor (or item) of one already in PATH, or of an\n"
    "earlier line, is a duplicate and is left out. Every line is checked first, and the expenses\n"
    "are stored in one transaction: all of them, or none when anything is refused.\n"
    "\n"
    "An OFX or QFX statement needs --type, --category and --account (and --project); its payments\n"
    "become expenses, the payee's name as vendor and item, the memo as detail.\n"
    "A bank's or card's CSV (any other form) needs where its fields are and what to file its\n"
    "payments under; credits are left out and counted:\n"
    "  --type LABEL --category CAT --account CODE [--project NAME]\n"
    "  --date-column C --amount-column C --description-column C   (C: a number from 1, or the\n"
    "  [--vendor-column C] [--check-column C]                       header's name for the column)\n"
    "  --date-format F        YYYY-MM-DD (default), MM/DD/YYYY, DD/MM/YYYY, DD.MM.YYYY or YYYY/MM/DD\n"
    "  --debits-positive      payments are written without a minus sign\n"
    "  --no-header            the first line is not a header\n"
    "\n"
    "  --dry-run              check and count, but store nothing\n"
    "  --include-duplicates   store the duplicates too\n";

// A column given by its number (from 1) or, with a header, by its name; -1 for none such.
int ColumnNumber(const std::string& column, const std::vector<std::string>& header)
{
    if (!column.empty() && std::all_of(column.begin(), column.end(), [](char c) { return c >= '0' && c <= '9'; }) && column.size() < 6)
        return std::stoi(column) - 1;
    const auto named = std::find(header.begin(), header.end(), column);
    return named == header.end() ? -1 : static_cast<int>(named - header.begin());
}

// What the import options chose for a file that is not Quillmar's own export.
struct ImportChoices {
    ExpenseImport::BankLayout layout;
    ExpenseImport::Defaults defaults;
    std::map<std::string, std::string> columns;  // column option -> column (number from 1, or a header name)
};

int* ColumnOf(ExpenseImport::BankLayout& layout, const std::string& option)
{
    const std::map<std::string, int*> columns = {
        {"--date-column", &layout.dateColumn}, {"--amount-column", &layout.amountColumn},
        {"--description-column", &layout.descriptionColumn}, {"--vendor-column", &layout.vendorColumn},
        {"--check-column", &layout.checkColumn}};
    const auto column = columns.find(option);
    return column == columns.end() ? nullptr : column->second;
}

// The payments of a bank's CSV, its columns named by the options. Throws csv::Error.
std::vector<ExpenseImport::Row> BankRows(const ExpenseImport& import, const std::vector<csv::Record>& records, ImportChoices& choices,
                                         long& credits)
{
    if (choices.defaults.type.empty() || choices.columns.count("--date-column") == 0)
        throw csv::Error(records.front().line,
                         "the file is not in the form Quillmar's export writes; for a bank's file give --type, "
                         "--category, --account and the --date-column, --amount-column and --description-column");
    for (const auto& [option, column] : choices.columns) {
        const int number = ColumnNumber(column, choices.layout.header ? records.front().fields : std::vector<std::string>{});
        if (number < 0)
            throw csv::Error(records.front().line, "the file has no column '" + column + "' (" + option + ")");
        *ColumnOf(choices.layout, option) = number;
    }
    return import.FromBankCsv(records, choices.layout, choices.defaults, credits);
}

// The expenses of an import file: an OFX statement, Quillmar's own CSV or a bank's CSV read
// with the choices. The file's bytes, text and records are gone on return, before anything is
// stored. Throws with the line (or transaction) and the reason.
std::vector<ExpenseImport::Row> ReadImportRows(const ExpenseImport& import, const std::string& path, ImportChoices choices,
                                               std::ostream& out)
{
    std::string bytes;
    if (!files::ReadWholeFile(path, bytes))
        throw std::runtime_error("the file cannot be read");
    long credits = 0;
    std::vector<ExpenseImport::Row> rows;
    if (ofx::LooksLikeOfx(bytes)) {
        if (choices.defaults.type.empty())
            throw csv::Error(1, "for a bank statement give --type, --category and --account", "transaction");
        rows = import.FromOfx(ofx::ReadStatement(path), choices.defaults, credits);
    } else {
        const std::string text = csv::Decode(std::move(bytes));
        const char separator = csv::DetectSeparator(text);
        csv::Reader reader(text, separator);
        csv::Record record;
        if (!reader.Next(record))
            throw csv::Error(1, "the file holds no expenses");
        if (ExpenseImport::IsQuillmarRecord(record)) {
            // A record at a time: a large export never stands in memory as records as well as rows.
            rows.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);  // at most a row a line
            do
                rows.push_back(import.FromQuillmarRecord(record));
            while (reader.Next(record));
            return rows;
        }
        rows = BankRows(import, csv::Parse(text, separator), choices, credits);
    }
    if (credits > 0)
        out << credits << (credits == 1 ? " credit" : " credits") << " left out.\n";
    return rows;
}

}  // namespace

int DatabaseTool::convert(const std::vector<std::string>& arguments)
{
    if (cli::WantsHelp(arguments)) {
        m_out << kConvertHelp;
        return 0;
    }
    std::vector<std::string> paths;
    JetConversion::Options options;
    for (const auto& argument : arguments) {
        if (argument == "--force")
            options.overwrite = true;
        else if (argument == "--skip-bad-rows")
            options.skipBadRows = true;
        else if (argument.rfind("--", 0) == 0)
            return usageError("unknown option '" + argument + "'", kConvertHelp);
        else
            paths.push_back(argument);
    }
    if (paths.size() != 2)
        return usageError("convert takes an Access database and the path of the new database", kConvertHelp);
    try {
        jet::MdbSource source(paths[0]);
        const JetConversion::Result result = JetConversion::Convert(source, paths[0], paths[1], options);
        for (const std::string& skipped : result.skipped)
            m_out << "Skipped: " << skipped << "\n";
        m_out << result.Summary() << "\n";
    } catch (const std::exception& error) {
        m_err << "quillmar-db: " << error.what() << "\n";
        return 1;
    }
    return 0;
}

int DatabaseTool::printOverview(const std::vector<std::string>& arguments)
{
    if (cli::WantsHelp(arguments)) {
        m_out << kOverviewHelp;
        return 0;
    }
    std::string path, csv;
    bool byYear = false, owed = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--by-year") {
            byYear = true;
        } else if (argument == "--owed") {
            owed = true;
        } else if (argument == "--csv") {
            if (i + 1 >= arguments.size())
                return usageError("--csv needs a file", kOverviewHelp);
            csv = arguments[++i];
        } else if (argument.rfind("--", 0) == 0) {
            return usageError("unknown option '" + argument + "'", kOverviewHelp);
        } else if (path.empty()) {
            path = argument;
        } else {
            return usageError("more than one path given", kOverviewHelp);
        }
    }
    if (path.empty())
        return usageError("no database path given", kOverviewHelp);
    if (!csv.empty() && byYear == owed)
        return usageError("--csv writes one table: give --by-year or --owed", kOverviewHelp);
    if (!byYear && !owed)
        byYear = owed = true;
    CADODataBase db;
    if (!db.Open(path)) {
        m_err << "quillmar-db: cannot open " << path << ": " << db.LastFailure().description << "\n";
        return 1;
    }
    std::string error;
    using Lines = std::vector<std::vector<std::string>>;
    struct Table {
        std::string title;
        std::string none;  // shown in place of an empty table
        Lines lines;
    };
    std::vector<Table> tables;
    if (byYear) {
        overview::ByYear table;
        if (!overview::ReadByYear(db, table, error)) {
            m_err << "quillmar-db: cannot read " << path << ": " << error << "\n";
            return 1;
        }
        std::string title = "By year";
        if (table.undated > 0)
            title += " (" + std::to_string(table.undated) + " expenses without a date left out)";
        const char* none = table.undated > 0 ? "No expense has a date." : "No expenses yet";
        tables.push_back({title, table.IsEmpty() ? none : "", table.IsEmpty() ? Lines{} : overview::ByYearLines(table)});
    }
    if (owed) {
        overview::Owed table;
        if (!overview::ReadOwed(db, ole::DateTime::currentLocal(), table, error)) {
            m_err << "quillmar-db: cannot read " << path << ": " << error << "\n";
            return 1;
        }
        const char* none = table.expenses > 0 ? "Nothing is waiting to be billed or paid." : "No expenses yet";
        tables.push_back({"Owed to me", table.IsEmpty() ? none : "", table.IsEmpty() ? Lines{} : overview::OwedLines(table)});
    }
    if (!csv.empty()) {
        const Table& table = tables.front();
        if (!overview::WriteCsv(table.lines.empty() ? Lines{} : table.lines, csv, error)) {
            m_err << "quillmar-db: cannot write " << csv << ": " << error << "\n";
            return 1;
        }
        m_out << "Wrote " << table.title << " to " << csv << "\n";
        return 0;
    }
    for (std::size_t i = 0; i < tables.size(); ++i) {
        m_out << (i ? "\n" : "") << tables[i].title << "\n";
        if (tables[i].lines.empty())
            m_out << tables[i].none << "\n";
        else
            PrintTable(m_out, tables[i].lines);
    }
    return 0;
}

int DatabaseTool::importCsv(const std::vector<std::string>& arguments)
{
    if (cli::WantsHelp(arguments)) {
        m_out << kImportHelp;
        return 0;
    }
    std::vector<std::string> paths;
    bool dryRun = false, duplicates = false;
    ExpenseImport::BankLayout layout;
    ExpenseImport::Defaults defaults;
    std::map<std::string, std::string> columns;  // option -> column (number from 1, or a header name)
    const std::map<std::string, std::string*> texts = {{"--type", &defaults.type}, {"--category", &defaults.category},
                                                       {"--account", &defaults.account}, {"--project", &defaults.project},
                                                       {"--date-format", &layout.dateFormat}};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool valued = texts.count(argument) || ColumnOf(layout, argument) != nullptr;
        if (valued && i + 1 >= arguments.size())
            return usageError(argument + " needs a value", kImportHelp);
        if (argument == "--dry-run")
            dryRun = true;
        else if (argument == "--include-duplicates")
            duplicates = true;
        else if (argument == "--debits-positive")
            layout.debitsNegative = false;
        else if (argument == "--no-header")
            layout.header = false;
        else if (texts.count(argument))
            *texts.at(argument) = arguments[++i];
        else if (valued)
            columns[argument] = arguments[++i];
        else if (argument.rfind("--", 0) == 0)
            return usageError("unknown option '" + argument + "'", kImportHelp);
        else
            paths.push_back(argument);
    }
    const auto& formats = ExpenseImport::DateFormats();
    if (std::find(formats.begin(), formats.end(), layout.dateFormat) == formats.end())
        return usageError("'" + layout.dateFormat + "' is not a date format this import reads", kImportHelp);
    if (paths.size() != 2)
        return usageError("import takes a database path and a CSV file", kImportHelp);
    // The file's full check runs beside the reading of the import file; nothing is stored or
    // reported before it has passed.
    CADODataBase db;
    const auto openFailed = [&] {
        m_err << "quillmar-db: cannot open " << paths[0] << ": " << db.LastFailure().description << "\n";
        return 1;
    };
    if (!db.OpenCheckingBeside(paths[0]))
        return openFailed();
    ExpenseImport import(db);
    std::string error;
    std::vector<ExpenseImport::Row> rows;
    try {
        if (!import.ReadLookups(error))
            throw std::runtime_error(error);
        rows = ReadImportRows(import, paths[1], ImportChoices{layout, defaults, columns}, m_out);
    } catch (const std::exception& refusal) {
        m_err << "quillmar-db: " << paths[1] << ": " << refusal.what() << ". Nothing was imported.\n";
        return 1;
    }
    if (!db.SettleCheck())
        return openFailed();
    if (!import.MarkDuplicates(rows, error)) {
        m_err << "quillmar-db: cannot read the expenses of " << paths[0] << ": " << error << "\n";
        return 1;
    }
    long duplicateCount = 0;
    for (ExpenseImport::Row& row : rows) {
        duplicateCount += row.duplicate;
        row.ticked = row.ticked || duplicates;
    }
    const long toStore = static_cast<long>(rows.size()) - (duplicates ? 0 : duplicateCount);
    if (dryRun) {
        m_out << "Would import " << toStore << " expenses from " << paths[1] << " (" << duplicateCount
              << " look like expenses already there" << (duplicates ? ", included" : ", left out") << ").\n";
        return 0;
    }
    long stored = 0;
    if (!import.Store(rows, stored, error)) {
        m_err << "quillmar-db: " << error << ". Nothing was imported.\n";
        return 1;
    }
    m_out << "Imported " << stored << " expenses from " << paths[1] << " (" << duplicateCount
          << " look like expenses already there" << (duplicates ? ", included" : ", left out") << ").\n";
    return 0;
}
