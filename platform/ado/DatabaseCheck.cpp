// The schema probe and the integrity check behind every open and every compaction.
#include "platform/ado/DatabaseCheck.h"

#include <sqlite3.h>

#include "platform/ado/Error.h"
#include "platform/ado/Statement.h"

namespace ado {
namespace {

// The full check, not quick_check: only it finds index entries that no longer match their rows,
// which is how a torn expense row shows (about one damaged file in six). The limit stops at the
// first fault, which is all a refusal needs to name.
constexpr const char* kIntegrityCheck = "PRAGMA integrity_check(1)";

// The engine's report on one line: without its "*** in database main ***" heading.
std::string oneLine(std::string report)
{
    static const std::string kHeading = "*** in database main ***\n";
    if (report.rfind(kHeading, 0) == 0)
        report.erase(0, kHeading.size());
    while (!report.empty() && (report.back() == '\n' || report.back() == ' '))
        report.pop_back();
    for (std::size_t at = report.find('\n'); at != std::string::npos; at = report.find('\n', at))
        report.replace(at, 1, "; ");
    return report;
}

Error damagedError(const std::string& path, const std::string& source, const std::string& consequence,
                   const std::string& report)
{
    return Error(kDatabaseDamaged, source,
                 "'" + path + "' is damaged (SQLite reports: " + oneLine(report) + "). " + consequence);
}

}  // namespace

void checkDatabase(sqlite3* db, const std::string& path, const std::string& source, const std::string& consequence)
{
    probeDatabase(db, path, source, consequence);
    checkIntegrity(db, path, source, consequence);
}

void probeDatabase(sqlite3* db, const std::string& path, const std::string& source, const std::string& consequence)
{
    // Reading the schema proves the file is a database SQLite understands.
    try {
        Statement probe(db, "SELECT count(*) FROM sqlite_master");
        probe.step();
    } catch (const Error& error) {
        if (error.code() == kDatabaseDamaged)
            throw damagedError(path, source, consequence, error.description());
        if (error.code() == kDatabaseLocked)
            throw Error(kDatabaseLocked, source,
                        "'" + path + "' is in use by another program, which holds it locked (" + error.description() + ").");
        throw Error(kUnspecifiedError, source,
                    "'" + path + "' is not a database file that can be read (" + error.description() + ").");
    }
}

void checkIntegrity(sqlite3* db, const std::string& path, const std::string& source, const std::string& consequence)
{
    const auto damaged = [&](const std::string& report) { return damagedError(path, source, consequence, report); };
    std::string report;
    try {
        Statement check(db, kIntegrityCheck);
        if (check.step()) {
            const unsigned char* text = sqlite3_column_text(check.get(), 0);
            report = text ? reinterpret_cast<const char*>(text) : "";
        }
    } catch (const Error& error) {
        if (error.code() == kDatabaseDamaged)
            throw damaged(error.description());
        throw Error(error.code(), source, "'" + path + "' could not be checked: " + error.description() + ".");
    }
    if (report != "ok")
        throw damaged(report.empty() ? "no result from its integrity check" : report);
}

}  // namespace ado
