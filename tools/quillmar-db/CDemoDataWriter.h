// Fills a new expense database with realistic demo data: thirty expense types (the two built-in
// tax types, user types grouped by year and reimbursable types grouped by project), their
// categories, accounts, active and inactive projects, and expenses over the last ten years
// with reimbursed rows in every billing status. The same seed always gives the same file.
#pragma once

#include <cstdint>
#include <string>

struct sqlite3;

class CDemoDataWriter {
public:
    struct Options {
        long expenses = 3000;       // number of expense rows
        std::uint32_t seed = 1;     // random seed
        int lastYear = 0;           // last year of the ten; 0 = the current year
    };

    // Writes a new database at path holding the schema and the demo rows. It is built in a
    // temporary file that replaces path only once complete; an existing file is refused unless
    // overwrite is set. Throws std::runtime_error (ado::Error for a file or engine failure).
    static void Create(const std::string& path, const Options& options, bool overwrite);

    // Adds the demo rows to a database made from the schema (one transaction). Throws
    // std::runtime_error.
    static void Fill(sqlite3* db, const Options& options);
};
