// The peer of the import benchmark: reads the same handheld expense records and stores the same
// rows with one prepared INSERT inside one transaction, straight through SQLite.
// Usage: plain_insert HANDHELD_DIR DATABASE
#include <cstdio>
#include <memory>
#include <sqlite3.h>
#include <string>

#include "conduit/handheld/HHExpense.h"
#include "platform/ado/SqliteHandle.h"
#include "platform/palm/PalmDatabaseFile.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: plain_insert HANDHELD_DIR DATABASE\n");
        return 2;
    }
    palm::PalmDatabaseFile expenses;
    std::string error;
    if (!palm::PalmDatabaseFile::Load(std::string(argv[1]) + "/Qlmr-Expenses.pdb", expenses, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const ado::SqliteHandle handle = ado::openSqlite(argv[2], SQLITE_OPEN_READWRITE, "plain_insert");
    sqlite3* db = handle.get();
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return 1;
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO Expenses (ExpType, ExpDate, ExpYear, Amount, ProjectID, TypeComp, Reimburse, Status, "
                       "Item, ExpCat, Vendor, AcctCode, ChkNbr, Detail) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                       -1, &insert, nullptr);
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(insert, sqlite3_finalize);
    if (!insert)
        return 1;
    const auto text = [&](int index, const std::string& utf8) {
        if (utf8.empty())
            sqlite3_bind_null(insert, index);
        else
            sqlite3_bind_text(insert, index, utf8.c_str(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    };
    hh::HHExpense e;  // its texts' storage is reused, as the conduit's reader does
    for (const palm::PalmRecord& record : expenses.m_records) {
        hh::UnpackExpense(record.data, e);
        char date[32];
        std::snprintf(date, sizeof date, "%04u-%02u-%02u 00:00:00", e.dwDate / 10000, e.dwDate / 100 % 100, e.dwDate % 100);
        sqlite3_bind_int(insert, 1, e.wExpType);
        sqlite3_bind_text(insert, 2, date, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 3, static_cast<int>(e.dwDate / 10000));
        sqlite3_bind_int64(insert, 4, static_cast<sqlite3_int64>(e.dwAmount) * 100);
        sqlite3_bind_int64(insert, 5, e.bExpComp == 2 ? e.dwProjectID : e.dwDate / 10000);  // the year unless charged
        sqlite3_bind_int(insert, 6, e.bExpComp);
        sqlite3_bind_int(insert, 7, e.bExpComp == 2 && e.bReimburse);
        sqlite3_bind_int(insert, 8, e.bExpComp == 2 && e.bReimburse ? 1 : 0);
        text(9, e.item);
        text(10, e.category);
        text(11, e.vendor);
        text(12, e.account);
        text(13, e.checkNumber);
        text(14, e.detail);
        if (sqlite3_step(insert) != SQLITE_DONE)
            return 1;
        sqlite3_reset(insert);
    }
    return sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK ? 0 : 1;
}
