// Test databases built from the schema in a temporary folder, and a raw SQLite handle for
// arranging rows and checking what was stored without going through the layer under test.
#pragma once

#include <cstdint>
#include <string>

#include "tests/support/TempDir.h"

struct sqlite3;

class TestDatabase {
public:
    explicit TestDatabase(const std::string& name = "expenses.mdb");
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    const std::string& path() const { return m_path; }
    const TempDir& dir() const { return m_dir; }

    // Runs SQL directly on the file (each call opens and closes its own connection).
    void exec(const std::string& sql) const;
    // The first column of the first row as text ("" for no row, "NULL" for a null).
    std::string scalar(const std::string& sql) const;
    std::int64_t count(const std::string& table, const std::string& where = "") const;
    // scalar() on any database file.
    static std::string scalarAt(const std::string& path, const std::string& sql);

private:
    TempDir m_dir;        // holds the file
    std::string m_path;   // the database file
};
