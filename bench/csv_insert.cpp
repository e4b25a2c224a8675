// The peer of the conversion benchmark: reads mdb-export's CSV (no header) from standard input
// and stores each line's fields with one prepared INSERT into a bare table, in one transaction,
// straight through SQLite. Fields are split at commas outside double quotes.
// Usage: mdb-export -H FILE TABLE | csv_insert DATABASE COLUMNS
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sqlite3.h>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: csv_insert DATABASE COLUMNS\n");
        return 2;
    }
    const int columns = std::atoi(argv[2]);
    std::remove(argv[1]);
    sqlite3* db = nullptr;
    if (sqlite3_open(argv[1], &db) != SQLITE_OK)
        return 1;
    std::string create = "CREATE TABLE t (c1", marks = "?";
    for (int i = 2; i <= columns; ++i) {
        create += ", c" + std::to_string(i);
        marks += ", ?";
    }
    sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, ("INSERT INTO t VALUES (" + marks + ")").c_str(), -1, &insert, nullptr);
    std::string line;
    std::vector<std::string> fields;
    long rows = 0;
    while (std::getline(std::cin, line)) {
        fields.assign(1, std::string());
        bool quoted = false;
        for (const char c : line) {
            if (c == '"')
                quoted = !quoted;
            else if (c == ',' && !quoted)
                fields.emplace_back();
            else
                fields.back() += c;
        }
        for (int i = 0; i < columns && i < static_cast<int>(fields.size()); ++i)
            sqlite3_bind_text(insert, i + 1, fields[static_cast<std::size_t>(i)].c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(insert) != SQLITE_DONE)
            return 1;
        sqlite3_reset(insert);
        ++rows;
    }
    sqlite3_finalize(insert);
    const bool committed = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    std::printf("rows %ld\n", rows);
    return committed ? 0 : 1;
}
