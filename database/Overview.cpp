// The overview's aggregate queries and its tables.
#include "database/Overview.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <system_error>

#include "database/CsvExport.h"
#include "database/ExpenseSchema.h"
#include "database/ScopedPageCache.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/fs/SafeReplace.h"
#include "platform/ole/FormatAmount.h"

namespace overview {

namespace {

// Reads every row of a query; false with the reason when it cannot be run.
template <typename Read>
bool ForEachRow(CADODataBase& db, const std::string& sql, std::string& error, Read read)
{
    CAdoRecordset rs(&db);
    if (!rs.OpenQuery(sql)) {
        error = rs.LastFailure().description;
        return false;
    }
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        read(rs);
    return true;
}

template <typename Key>
bool ReadNames(CADODataBase& db, const std::string& sql, std::map<Key, std::string>& names, std::string& error)
{
    return ForEachRow(db, sql, error, [&names](CAdoRecordset& rs) { names[static_cast<Key>(rs.GetDF_Long("K"))] = rs.GetDF_Text("N"); });
}

std::string Amount(const ole::Currency& value) { return FormatAmount(value); }

}  // namespace

void KeepPagesCached(CADODataBase& db, bool keep)
{
    // Only a matter of speed: a connection that refuses it reads as before.
    (void)db.Execute("PRAGMA cache_size = -" + std::to_string(keep ? kLargePageCacheKiB : kDefaultPageCacheKiB));
}

bool ReadByYear(CADODataBase& db, ByYear& out, std::string& error)
{
    out = ByYear();
    std::map<std::int16_t, std::string> labels;
    std::map<int, std::map<std::int16_t, ole::Currency>> sums;  // year -> type -> amount
    const bool read =
        ReadNames(db, "SELECT ExpType AS K, ExpLabel AS N FROM lkpExpTypes", labels, error) &&
        // ExpYear is the calendar year of ExpDate (-1 without one), stored with the row: grouped
        // in the order of the year index, the sums need no sort.
        ForEachRow(db, "SELECT COALESCE(ExpYear, -1) AS Y, ExpType AS T, SUM(Amount) AS S, COUNT(*) AS N FROM Expenses GROUP BY ExpYear, T", error,
                   [&](CAdoRecordset& rs) {
                       const int number = rs.GetDF_Long("Y");
                       if (number < 0)
                           out.undated += rs.GetDF_Long("N");
                       else
                           sums[number][rs.GetDF_Short("T")] += rs.GetDF_Currency("S");
                   });
    if (!read)
        return false;
    std::map<std::int16_t, ole::Currency> typeTotals;
    for (const auto& [year, types] : sums)
        for (const auto& [type, amount] : types)
            typeTotals[type] += amount;
    for (const auto& [type, total] : typeTotals) {
        const auto label = labels.find(type);
        out.types.push_back({type, label != labels.end() && !label->second.empty() ? label->second : std::to_string(type), total});
        out.total += total;
    }
    for (const auto& [year, types] : sums) {
        out.years.push_back(year);
        std::vector<ole::Currency>& line = out.cells.emplace_back();
        ole::Currency yearTotal;
        for (const TypeColumn& column : out.types) {
            const auto cell = types.find(column.type);
            line.push_back(cell != types.end() ? cell->second : ole::Currency());
            yearTotal += line.back();
        }
        out.yearTotals.push_back(yearTotal);
    }
    return true;
}

bool ReadOwed(CADODataBase& db, const ole::DateTime& today, Owed& out, std::string& error)
{
    out = Owed();
    std::map<std::int16_t, std::string> labels;
    std::map<std::int32_t, std::string> projects;
    const std::string sql =
        "SELECT ProjectID AS P, ExpType AS T, SUM(CASE WHEN Status = 1 THEN Amount ELSE 0 END) AS I, "
        "SUM(CASE WHEN Status = 2 THEN Amount ELSE 0 END) AS U, MIN(ExpDate) AS D FROM Expenses "
        "WHERE TypeComp = 2 AND Reimburse <> 0 AND Status IN (1, 2) GROUP BY P, T";  // the project index's order
    const bool read = ReadNames(db, "SELECT ExpType AS K, ExpLabel AS N FROM lkpExpTypes", labels, error) &&
                      ReadNames(db, "SELECT ProjectID AS K, ProjectName AS N FROM Projects", projects, error) &&
                      ForEachRow(db, sql, error, [&](CAdoRecordset& rs) {
                          OwedRow row;
                          row.type = rs.GetDF_Short("T");
                          row.projectID = rs.GetDF_Long("P");
                          row.in = rs.GetDF_Currency("I");
                          row.su = rs.GetDF_Currency("U");
                          if (!rs.GetDF_Text("D").empty())
                              row.oldest = rs.GetDF_DateTime("D");
                          out.rows.push_back(row);
                      }) &&
                      ForEachRow(db, "SELECT COUNT(*) AS N FROM Expenses", error,
                                 [&out](CAdoRecordset& rs) { out.expenses = rs.GetDF_Long("N"); });
    if (!read)
        return false;
    for (OwedRow& row : out.rows) {
        const auto label = labels.find(row.type);
        row.typeLabel = label != labels.end() && !label->second.empty() ? label->second : std::to_string(row.type);
        const auto project = projects.find(row.projectID);
        row.project = project != projects.end() && !project->second.empty() ? project->second
                                                                            : "Project " + std::to_string(row.projectID);
        if (row.oldest.isValid() && today.isValid())
            row.ageDays = static_cast<long>(std::floor(today.days()) - std::floor(row.oldest.days()));
        out.in += row.in;
        out.su += row.su;
    }
    std::stable_sort(out.rows.begin(), out.rows.end(), [](const OwedRow& a, const OwedRow& b) { return a.ageDays > b.ageDays; });
    return true;
}

std::vector<std::vector<std::string>> ByYearLines(const ByYear& byYear)
{
    std::vector<std::vector<std::string>> lines(1, {"Year"});
    for (const TypeColumn& column : byYear.types)
        lines[0].push_back(column.label);
    lines[0].push_back("Total");
    for (std::size_t y = 0; y < byYear.years.size(); ++y) {
        std::vector<std::string>& line = lines.emplace_back(1, std::to_string(byYear.years[y]));
        for (const ole::Currency& cell : byYear.cells[y])
            line.push_back(Amount(cell));
        line.push_back(Amount(byYear.yearTotals[y]));
    }
    std::vector<std::string>& total = lines.emplace_back(1, "Total");
    for (const TypeColumn& column : byYear.types)
        total.push_back(Amount(column.total));
    total.push_back(Amount(byYear.total));
    return lines;
}

std::vector<std::vector<std::string>> OwedLines(const Owed& owed)
{
    std::vector<std::vector<std::string>> lines = {{"Project", "Type", "IN", "SU", "Oldest", "Age (days)"}};
    for (const OwedRow& row : owed.rows)
        lines.push_back({row.project, row.typeLabel, Amount(row.in), Amount(row.su),
                         row.oldest.isValid() ? row.oldest.format("%Y-%m-%d") : std::string(),
                         row.ageDays >= 0 ? std::to_string(row.ageDays) : std::string()});
    lines.push_back({"Total", "", Amount(owed.in), Amount(owed.su), "", ""});
    return lines;
}

bool WriteCsv(const std::vector<std::vector<std::string>>& lines, const std::string& path, std::string& error)
{
    std::string text;
    for (const auto& line : lines) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (i)
                text += ',';
            CsvExport::AppendField(line[i], false, text);
        }
        text += "\r\n";
    }
    try {
        return files::SafeReplace::replace(path, [&text](const files::TemporaryFile& file) {
            file.write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
        }, error, files::SafeReplace::Mode::New);
    } catch (const std::system_error& failure) {
        error = failure.what();
        return false;
    }
}

}  // namespace overview
