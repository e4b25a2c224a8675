// Schema-built databases for tests.
#include "tests/support/TestDatabase.h"

#include <memory>
#include <sqlite3.h>
#include <stdexcept>

#include "database/CDatabaseCreator.h"
#include "platform/ado/SqliteHandle.h"

namespace {

ado::SqliteHandle openRaw(const std::string& path)
{
    return ado::openSqlite(path, SQLITE_OPEN_READWRITE, "TestDatabase");
}

}  // namespace

TestDatabase::TestDatabase(const std::string& name) : m_path(m_dir.file(name))
{
    CDatabaseCreator::CreateEmpty(m_path, false);
}

TestDatabase::~TestDatabase() = default;

void TestDatabase::exec(const std::string& sql) const
{
    auto db = openRaw(m_path);
    char* message = nullptr;
    if (sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string reason = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error("test SQL failed: " + reason + " in: " + sql);
    }
}

std::string TestDatabase::scalar(const std::string& sql) const
{
    return scalarAt(m_path, sql);
}

std::string TestDatabase::scalarAt(const std::string& path, const std::string& sql)
{
    auto db = openRaw(path);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        throw std::runtime_error(std::string("test SQL failed: ") + sqlite3_errmsg(db.get()));
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(raw, sqlite3_finalize);
    if (sqlite3_step(raw) != SQLITE_ROW)
        return {};
    if (sqlite3_column_type(raw, 0) == SQLITE_NULL)
        return "NULL";
    return reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
}

std::int64_t TestDatabase::count(const std::string& table, const std::string& where) const
{
    return std::stoll(scalar("SELECT count(*) FROM " + table + (where.empty() ? "" : " WHERE " + where)));
}
