// CADODataBase: the one connection of a program to its expense database. It turns a file path
// into a connection string, opens and closes the connection, writes compacted copies of a
// database file and runs transactions. No engine failure escapes it: each is recorded as a text
// report in m_strLastError with its code in m_hrLastError, and the operation answers false.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dbaccess/AdoFailure.h"

namespace ado {
class Connection;
class Error;
}

class CADODataBase {
public:
    CADODataBase();
    virtual ~CADODataBase();
    CADODataBase(const CADODataBase&) = delete;
    CADODataBase& operator=(const CADODataBase&) = delete;

    [[nodiscard]] bool IsOpen() const;
    [[nodiscard]] bool Open(const std::string& strPath);
    // Opens for a first long read: the file's full check runs beside it, and the connection
    // writes nothing until SettleCheck() has answered true. False from SettleCheck means the
    // file was refused and the connection is closed; the failure is recorded as Open's is.
    [[nodiscard]] bool OpenCheckingBeside(const std::string& strPath);
    [[nodiscard]] bool SettleCheck();
    void Close();
    // Closes and keeps why, for whoever later finds the connection closed.
    void Close(const std::string& strReason);
    // Why the connection is closed, in words for the user: what its closer said, or why its last
    // open failed; empty while it is open.
    std::string ClosedReason() const;
    [[nodiscard]] bool CompactDatabase(const std::string& strSource, const std::string& strTarget);
    // Writes a new database file at strPath from an SQL script, replacing an existing file only
    // when bOverwrite is set and only once the new one is complete. The connection is not used.
    [[nodiscard]] bool CreateDatabase(const std::string& strPath, const std::string& strScript, bool bOverwrite);
    // Runs SQL statements on the open database. Only for the handheld sync's own bookkeeping
    // table; the expense tables are read and written through record sets alone.
    [[nodiscard]] bool Execute(const std::string& strSQL);
    [[nodiscard]] bool BeginTrans();
    [[nodiscard]] bool CommitTrans();
    [[nodiscard]] bool RollbackTrans();

    // The engine connection the record sets open on.
    ado::Connection* GetConnection() const { return m_pConnection.get(); }
    // The last recorded failure (empty until the first).
    const AdoFailure& LastFailure() const { return m_LastFailure; }

    static std::string ConnectionString(const std::string& strPath);

private:
    void RecordError(const ado::Error& error);
    template <typename OpenStep> bool OpenWith(const std::string& strPath, OpenStep open);
    template <typename Operation> bool RunConnectionStep(Operation operation);

    std::unique_ptr<ado::Connection> m_pConnection;  // the engine connection object
    AdoFailure m_LastFailure;                         // the last recorded failure, as a value
    std::string m_strClosedReason;                    // why it was closed; empty: no reason given

public:
    std::string m_strConnection;   // connection string of the open or last attempted database
    std::string m_strLastError;    // last error report; empty until the first failure
    std::int32_t m_hrLastError = 0;  // code of the last recorded failure; 0 until the first
};
