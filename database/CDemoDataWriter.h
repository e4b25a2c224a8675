// Fills a new expense database with realistic demo data: thirty expense types (the two built-in
// tax types, user types grouped by year and reimbursable types grouped by project), their
// categories, accounts, active and inactive projects, and expenses over the last ten years
// with reimbursed rows in every billing status. The same seed always gives the same file.
#pragma once

#include <cstdint>
#include <string>

class CDemoDataWriter {
public:
    struct Options {
        long expenses = 3000;       // number of expense rows
        std::uint32_t seed = 1;     // random seed
        int lastYear = 0;           // last year of the ten; 0 = the current year
    };

    // Adds the demo rows to an existing database made from the schema (one transaction).
    // Throws std::runtime_error.
    static void Fill(const std::string& path, const Options& options);
};
