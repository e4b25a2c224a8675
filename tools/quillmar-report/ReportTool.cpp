// The options of quillmar-report, and the report they choose written as PDF.
#include "tools/quillmar-report/ReportTool.h"

#include <filesystem>
#include <ostream>
#include <sstream>

#include "database/ExpenseSchema.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "reports/PdfReport.h"
#include "reports/ReportChoice.h"
#include "reports/ReportFactory.h"
#include "tools/CommandLine.h"

namespace {

const char* const kHelp =
    "Usage: quillmar-report DB --type T (--year Y | --project P) [--summary]\n"
    "                       [--group-by category|status] [--status 1,2,3] --pdf OUT.pdf\n"
    "                       [--page-size A4|Letter] [--dpi N] [--force]\n"
    "\n"
    "Writes a report of the expense database DB to OUT.pdf, as Quillmar's File > Reports... prints\n"
    "it: the expenses of type T in year Y, or of project P for a reimbursable type, in detail or\n"
    "as a summary. Project reports group by category (default) or by billing status and include\n"
    "the statuses given (default: every status above 0 that the project's expenses have).\n"
    "\n"
    "  --type T          expense type number\n"
    "  --year Y          the year (types that are not reimbursable)\n"
    "  --project P       the project ID (reimbursable types)\n"
    "  --summary         one line per category (or status) instead of one per expense\n"
    "  --group-by KEY    category or status (project reports)\n"
    "  --status LIST     billing statuses to include, comma-separated (project reports)\n"
    "  --pdf OUT.pdf     the file to write; an existing one is kept unless --force is given\n"
    "  --force           replace OUT.pdf when it exists (only once the new one is complete)\n"
    "  --page-size SIZE  A4 (default) or Letter\n"
    "  --dpi N           resolution the pages are laid out at (default 600)\n";

struct Options {
    std::string db, pdf;
    int type = -1;
    long key = 0;
    bool hasYear = false, hasProject = false, summary = false, hasStatus = false, force = false;
    GroupBy groupBy = GroupBy::Category;
    std::vector<std::int16_t> statuses;
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    int dpi = 600;
};

bool ParseStatuses(const std::string& text, std::vector<std::int16_t>& statuses)
{
    std::istringstream parts(text);
    for (std::string part; std::getline(parts, part, ',');) {
        std::int16_t status = 0;
        if (!cli::ParseNumber(part, status))
            return false;
        statuses.push_back(status);
    }
    return !statuses.empty();
}

// How many expenses of the type the year or project has (the rows a report would choose from).
long CountExpenses(CADODataBase& db, int type, const std::string& keyColumn, long key)
{
    CAdoRecordset rs(&db);
    if (!rs.OpenQuery("SELECT COUNT(*) AS Rows FROM Expenses WHERE ExpType=" + std::to_string(type) + " AND " + keyColumn +
                      "=" + std::to_string(key)))
        return -1;
    return rs.GetDF_Long("Rows");
}

// Every status above 0 of the project's expenses, as the options dialog ticks them.
std::vector<std::int16_t> ProjectStatuses(CADODataBase& db, int type, long project)
{
    CAdoRecordset rs(&db);
    std::vector<std::int16_t> statuses;
    if (!rs.OpenQuery("SELECT DISTINCT Status FROM Expenses WHERE ExpType=" + std::to_string(type) +
                      " AND ProjectID=" + std::to_string(project)))
        return statuses;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        if (const std::int16_t status = rs.GetDF_Short(schema::expenses::kStatus); status != 0)
            statuses.push_back(status);
    return statuses;
}

}  // namespace

int ReportTool::usageError(const std::string& message)
{
    m_err << "quillmar-report: " << message << "\n\n" << kHelp;
    return 2;
}

int ReportTool::run(const std::vector<std::string>& arguments)
{
    if (cli::WantsHelp(arguments)) {
        m_out << kHelp;
        return 0;
    }
    Options o;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        const bool takesValue = a == "--type" || a == "--year" || a == "--project" || a == "--group-by" ||
                                a == "--status" || a == "--pdf" || a == "--page-size" || a == "--dpi";
        if (takesValue && i + 1 >= arguments.size())
            return usageError(a + " needs a value");
        const std::string value = takesValue ? arguments[++i] : std::string();
        const auto bad = [&] { return usageError("'" + value + "' is not a valid value for " + a); };
        if (a == "--type") {
            if (!cli::ParseNumber(value, o.type) || o.type < 0)
                return bad();
        } else if (a == "--year" || a == "--project") {
            if (!cli::ParseNumber(value, o.key))
                return bad();
            (a == "--year" ? o.hasYear : o.hasProject) = true;
        } else if (a == "--summary") {
            o.summary = true;
        } else if (a == "--force") {
            o.force = true;
        } else if (a == "--group-by") {
            if (value != "category" && value != "status")
                return bad();
            o.groupBy = value == "status" ? GroupBy::Status : GroupBy::Category;
        } else if (a == "--status") {
            if (!ParseStatuses(value, o.statuses))
                return bad();
            o.hasStatus = true;
        } else if (a == "--pdf") {
            o.pdf = value;
        } else if (a == "--page-size") {
            if (value != "A4" && value != "Letter")
                return bad();
            o.pageSize = value == "A4" ? QPageSize::A4 : QPageSize::Letter;
        } else if (a == "--dpi") {
            if (!cli::ParseNumber(value, o.dpi) || o.dpi < 72 || o.dpi > 2400)
                return bad();
        } else if (a.rfind("--", 0) == 0) {
            return usageError("unknown option '" + a + "'");
        } else if (o.db.empty()) {
            o.db = a;
        } else {
            return usageError("more than one database given");
        }
    }
    if (o.db.empty() || o.type < 0 || o.pdf.empty())
        return usageError("a database, --type and --pdf are needed");
    if (o.hasYear == o.hasProject)
        return usageError("give either --year or --project");

    if (std::error_code ignored; !o.force && std::filesystem::exists(o.pdf, ignored)) {
        m_err << "quillmar-report: " << o.pdf << " already exists; give --force to replace it\n";
        return 1;
    }

    CADODataBase db;
    if (!db.Open(o.db)) {
        m_err << "quillmar-report: cannot open " << o.db << ": " << db.LastFailure().description << "\n";
        return 1;
    }
    CAdoRecordset types(&db), projects(&db);
    if (!types.OpenTable(schema::types::kTable) || !projects.OpenTable(schema::projects::kTable)) {
        m_err << "quillmar-report: " << o.db << " is not a complete expense database\n";
        return 1;
    }
    ReportChoice choice(types, projects);
    const bool project = choice.IsProjectType(static_cast<std::int16_t>(o.type));
    if (project != o.hasProject) {
        m_err << "quillmar-report: type " << o.type << (project ? " is reimbursable: give --project" : " has years: give --year")
              << "\n";
        return 1;
    }
    if (o.type == schema::typerange::kEstimatedTax && o.summary) {
        m_err << "quillmar-report: type 1 has no summary report\n";
        return 1;
    }
    const long rows = CountExpenses(db, o.type, project ? schema::expenses::kProjectID : schema::expenses::kExpYear, o.key);
    if (rows == 0) {
        m_err << "quillmar-report: " << (project ? "project " : "year ") << o.key << " has no expenses of type " << o.type
              << "\n";
        return 1;
    }
    if (project && !o.hasStatus)
        o.statuses = ProjectStatuses(db, o.type, o.key);
    if (project && o.statuses.empty()) {
        m_err << "quillmar-report: no billing status to include; give --status\n";
        return 1;
    }
    const ReportSettings settings = choice.Settings(static_cast<std::int16_t>(o.type), static_cast<std::int32_t>(o.key),
                                                    o.summary, o.groupBy, o.statuses);
    const auto report = ReportFactory::Create(db, settings);
    int pages = 0;
    std::string error;
    if (!PdfReport::Write(*report, o.pdf, o.pageSize, o.dpi, pages, error)) {
        m_err << "quillmar-report: " << o.pdf << ": " << error << "\n";
        return 1;
    }
    m_out << "Wrote " << pages << (pages == 1 ? " page" : " pages") << " to " << o.pdf << "\n";
    return 0;
}
