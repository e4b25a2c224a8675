// Opening, closing and transactions over one SQLite file.
#include "platform/ado/Connection.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <sqlite3.h>
#include <sys/stat.h>

#include "platform/ado/DatabaseCheck.h"
#include "platform/ado/Error.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/Statement.h"

namespace ado {

Connection::~Connection() { close(); }

std::string Connection::dataSource(const std::string& connectionString)
{
    static const std::string kKey = "Data Source=";
    const std::size_t at = connectionString.find(kKey);
    if (at == std::string::npos)
        return {};
    const std::size_t start = at + kKey.size();
    // The path runs to the end: it is inserted unchanged and may itself hold ';'.
    return connectionString.substr(start);
}

void Connection::checkDatabaseFile(const std::string& path)
{
    struct stat info {};
    if (path.empty())
        throw Error(kUnspecifiedError, "Connection", "No database file was named.");
    if (::stat(path.c_str(), &info) != 0)
        throw Error(kUnspecifiedError, "Connection", "Could not find file '" + path + "'.");
    if (S_ISDIR(info.st_mode))
        throw Error(kUnspecifiedError, "Connection", "'" + path + "' is a folder, not a database file.");
    if (!S_ISREG(info.st_mode))
        throw Error(kUnspecifiedError, "Connection", "'" + path + "' is not a regular file.");
    if (info.st_size == 0)
        throw Error(kUnspecifiedError, "Connection",
                    "'" + path + "' is not a database file: it is empty.");
}

namespace {
constexpr const char* kNotOpened = "It was not opened, so nothing was written to it.";
}

SqliteHandle Connection::openProbed(const std::string& path)
{
    if (isOpen())
        throw Error(kIllegalOperation, "Connection", "Operation is not allowed when the object is open.");
    checkDatabaseFile(path);
    SqliteHandle db = openSqlite(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, "Connection");
    probeDatabase(db.get(), path, "Connection", kNotOpened);
    return db;
}

void Connection::open(const std::string& connectionString, const std::string&, const std::string&, long)
{
    const std::string path = dataSource(connectionString);
    SqliteHandle db = openProbed(path);
    checkIntegrity(db.get(), path, "Connection", kNotOpened);
    m_db = std::move(db);
    m_path = path;
}

// What the connection and the thread of its check share: the checker's engine connection while
// the check runs, so that closing can interrupt it instead of waiting for a whole file's read.
struct Connection::Checker {
    std::mutex mutex;
    sqlite3* db = nullptr;  // the checker's connection, while it runs
    bool stopped = false;   // the answer is no longer wanted

    // Runs the check unless it was stopped first; interrupted, it answers with the engine's error.
    static std::optional<Error> run(const std::shared_ptr<Checker>& self, const std::string& path)
    {
        SqliteHandle db = openSqlite(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, "Connection");
        {
            const std::lock_guard<std::mutex> lock(self->mutex);
            if (self->stopped)
                return Error(kUnspecifiedError, "Connection", "'" + path + "' was closed before its check.");
            self->db = db.get();
        }
        std::optional<Error> failure;
        try {
            checkIntegrity(db.get(), path, "Connection", kNotOpened);
        } catch (const Error& error) {
            failure = error;
        }
        const std::lock_guard<std::mutex> lock(self->mutex);
        self->db = nullptr;  // before the handle closes
        return failure;
    }

    void stop()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopped = true;
        if (db)
            sqlite3_interrupt(db);
    }
};

void Connection::openCheckingBeside(const std::string& connectionString)
{
    const std::string path = dataSource(connectionString);
    SqliteHandle db = openProbed(path);
    executeSql(db.get(), "PRAGMA query_only = ON");
    auto checker = std::make_shared<Checker>();
    m_check = std::async(std::launch::async, [checker, path]() -> std::optional<Error> {
        try {
            return Checker::run(checker, path);
        } catch (const Error& error) {
            return error;
        } catch (const std::exception& error) {  // no answer is never a pass
            return Error(kUnspecifiedError, "Connection", "'" + path + "' could not be checked: " + error.what() + ".");
        }
    });
    m_checker = std::move(checker);
    m_db = std::move(db);
    m_path = path;
}

void Connection::settleCheck()
{
    if (!m_check.valid())
        return;
    const std::optional<Error> failure = m_check.get();
    m_checker.reset();
    if (failure) {
        close();
        throw *failure;
    }
    executeSql(handle(), "PRAGMA query_only = OFF");
}

void Connection::close()
{
    if (m_check.valid()) {
        m_checker->stop();  // nobody waits for the answer now
        m_check.wait();     // the checker's connection goes before this one
    }
    m_check = {};
    m_checker.reset();
    if (!m_db)
        return;
    const std::vector<Recordset*> recordsets = std::move(m_recordsets);
    m_recordsets.clear();
    for (Recordset* recordset : recordsets)
        recordset->connectionClosing();
    if (m_inTransaction)
        sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);  // closing drops it anyway
    m_inTransaction = false;
    m_db.reset();
    m_path.clear();
}

sqlite3* Connection::handle() const
{
    if (!m_db)
        throw Error(kObjectClosed, "Connection", "Operation is not allowed when the object is closed.");
    return m_db.get();
}

void Connection::execute(const char* sql)
{
    Statement statement(handle(), sql);
    statement.step();
}

void Connection::beginTrans()
{
    if (m_inTransaction)
        throw Error(kIllegalOperation, "Connection", "A transaction is already active on this connection.");
    // IMMEDIATE takes the write lock now, so a busy file is noticed before any row is written.
    execute("BEGIN IMMEDIATE");
    m_inTransaction = true;
}

void Connection::commitTrans()
{
    if (!m_inTransaction)
        throw Error(kNoTransaction, "Connection", "No transaction is active.");
    execute("COMMIT");
    m_inTransaction = false;
}

void Connection::rollbackTrans()
{
    if (!m_inTransaction)
        throw Error(kNoTransaction, "Connection", "No transaction is active.");
    m_inTransaction = false;
    // An I/O error or a full disk can make the engine roll back by itself: then there is nothing
    // left to undo, and complaining would hide the failure that caused it.
    if (sqlite3_get_autocommit(handle()) != 0)
        return;
    execute("ROLLBACK");
}

void Connection::attach(Recordset* recordset) { m_recordsets.push_back(recordset); }

void Connection::detach(Recordset* recordset)
{
    m_recordsets.erase(std::remove(m_recordsets.begin(), m_recordsets.end(), recordset), m_recordsets.end());
}

}  // namespace ado
