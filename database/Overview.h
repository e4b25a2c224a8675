// Overview: the two summaries the Overview window and `quillmar-db overview` show, read from the
// database as aggregate queries through the record-set layer, with exact amounts:
// - by year: the amounts of each calendar year of the expense date per expense type (types
//   without dated expenses left out; undated expenses counted apart);
// - owed: per project of a reimbursable type, the reimbursed amounts still incurred (IN) or
//   submitted (SU), with the oldest such expense's date and its age, oldest first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ole/Currency.h"
#include "platform/ole/DateTime.h"

class CADODataBase;

namespace overview {

struct TypeColumn {
    std::int16_t type = 0;
    std::string label;     // ExpLabel, or the type's number when it has no lookup row
    ole::Currency total;   // over every year
};

struct ByYear {
    std::vector<int> years;                         // ascending
    std::vector<TypeColumn> types;                  // by type number
    std::vector<std::vector<ole::Currency>> cells;  // [year][type]
    std::vector<ole::Currency> yearTotals;          // per year
    ole::Currency total;
    long undated = 0;                               // expenses without a date, left out
    bool IsEmpty() const { return years.empty(); }  // nothing dated to show
};

struct OwedRow {
    std::int32_t projectID = 0;
    std::string project;    // ProjectName, or "Project N" when it has no Projects row
    std::int16_t type = 0;
    std::string typeLabel;
    ole::Currency in, su;
    ole::DateTime oldest = ole::DateTime::null();  // null when none of them has a date
    long ageDays = -1;                             // -1 without a date
};

struct Owed {
    std::vector<OwedRow> rows;  // oldest first; undated last
    ole::Currency in, su;       // totals
    long expenses = 0;          // in the database, owed or not
    bool IsEmpty() const { return rows.empty(); }
};

// While an overview is shown it is read again after every change: the connection then keeps up
// to 32 MiB of the file's pages (a 100,000-expense file is 14 MB) instead of SQLite's 2 MiB, so
// a re-read does not fetch every page from the operating system again. Off: back to the default.
void KeepPagesCached(CADODataBase& db, bool keep);

// False with the reason when the tables cannot be read.
[[nodiscard]] bool ReadByYear(CADODataBase& db, ByYear& out, std::string& error);
[[nodiscard]] bool ReadOwed(CADODataBase& db, const ole::DateTime& today, Owed& out, std::string& error);

// The tables as shown and exported: a header line, a line per row, a Total line.
std::vector<std::vector<std::string>> ByYearLines(const ByYear& byYear);
std::vector<std::vector<std::string>> OwedLines(const Owed& owed);
// Writes lines as a CSV file (the export's field rules), in place only once complete.
[[nodiscard]] bool WriteCsv(const std::vector<std::vector<std::string>>& lines, const std::string& path, std::string& error);

}  // namespace overview
