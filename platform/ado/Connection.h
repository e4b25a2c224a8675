// The connection of the database engine stand-in: one SQLite database file reached through a
// connection string "Provider=...;Data Source=PATH". It never creates a missing file, refuses a
// damaged one before anything is written to it, waits for another process's lock instead of
// failing at once, and closes the record sets opened on it when it closes.
#pragma once

#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ado/Error.h"
#include "platform/ado/SqliteHandle.h"

namespace ado {

class Recordset;

class Connection {
public:
    static constexpr int kBusyTimeoutMs = 10000;  // how long to wait for another process's lock

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Opens the file named by the connection string's "Data Source". Throws ado::Error for a
    // missing file, a folder, a file that is not a database, or a damaged one (kDatabaseDamaged).
    void open(const std::string& connectionString, const std::string& user,
              const std::string& password, long options);
    // The same open for a reader that has much to read at once: only the cheap schema probe runs
    // now; the full integrity check reads the file on a second connection in a worker thread.
    // Until settleCheck() has passed, the connection refuses every write (query_only).
    void openCheckingBeside(const std::string& connectionString);
    // Waits for a check started by openCheckingBeside; if it found the file damaged (or could not
    // run), closes the connection and throws its ado::Error. Nothing to do after a plain open.
    void settleCheck();
    bool checkPending() const { return m_check.valid(); }
    void close();
    bool isOpen() const { return m_db != nullptr; }

    void beginTrans();
    void commitTrans();
    void rollbackTrans();

    sqlite3* handle() const;  // throws when closed
    const std::string& path() const { return m_path; }

    // The value of "Data Source=" in a connection string, or an empty text.
    static std::string dataSource(const std::string& connectionString);
    // Throws unless path names an existing regular, non-empty file that SQLite can read.
    static void checkDatabaseFile(const std::string& path);

    void attach(Recordset* recordset);
    void detach(Recordset* recordset);

private:
    void execute(const char* sql);
    SqliteHandle openProbed(const std::string& path);

    SqliteHandle m_db;                      // the open database, null when closed
    std::string m_path;                     // its file path
    bool m_inTransaction = false;           // between beginTrans and commit / rollback
    std::vector<Recordset*> m_recordsets;   // open record sets, closed with the connection
    struct Checker;
    std::shared_ptr<Checker> m_checker;               // shared with the check while it runs
    std::future<std::optional<Error>> m_check;         // the integrity check running beside, if any
};

}  // namespace ado
