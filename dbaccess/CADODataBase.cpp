// Connection open / close, compaction and transactions with failure reports.
#include "dbaccess/CADODataBase.h"

#include <cstdio>

#include "platform/ado/Connection.h"
#include "platform/ado/DatabaseCompactor.h"
#include "platform/ado/DatabaseCreator.h"
#include "platform/ado/Error.h"
#include "platform/ado/SqliteHandle.h"

namespace {

constexpr const char* kConnectionPrefix = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";

}  // namespace

CADODataBase::CADODataBase() : m_pConnection(std::make_unique<ado::Connection>()) {}

CADODataBase::~CADODataBase()
{
    Close();
    m_pConnection.reset();
    m_strConnection.clear();
}

std::string CADODataBase::ConnectionString(const std::string& strPath)
{
    return kConnectionPrefix + strPath;
}

bool CADODataBase::IsOpen() const
{
    return m_pConnection->isOpen();
}

void CADODataBase::RecordError(const ado::Error& error)
{
    char head[64];
    std::snprintf(head, sizeof head, "%08lx",
                  static_cast<unsigned long>(static_cast<std::uint32_t>(error.code())));
    m_hrLastError = error.code();
    m_LastFailure = {error.code(), error.source(), error.description(), m_strConnection};
    m_strLastError = "Connection String = " + m_strConnection + "\n" + "CADODataBase Error\n\tCode = " +
                     head + "\n\tCode meaning = " + ado::Error::codeMeaning(error.code()) +
                     "\n\tSource = " + error.source() + "\n\tDescription = " + error.description() + "\n";
}

template <typename OpenStep>
bool CADODataBase::OpenWith(const std::string& strPath, OpenStep open)
{
    if (strPath.empty())
        return false;
    if (IsOpen())
        Close();
    m_strConnection = ConnectionString(strPath);
    try {
        open(*m_pConnection);
        m_strClosedReason.clear();
        return true;
    } catch (const ado::Error& error) {
        RecordError(error);  // the report names the connection string that failed
        m_strConnection.clear();
        m_strClosedReason = error.description();
        return false;
    }
}

bool CADODataBase::Open(const std::string& strPath)
{
    return OpenWith(strPath, [this](ado::Connection& c) { c.open(m_strConnection, "", "", -1); });
}

bool CADODataBase::OpenCheckingBeside(const std::string& strPath)
{
    return OpenWith(strPath, [this](ado::Connection& c) { c.openCheckingBeside(m_strConnection); });
}

bool CADODataBase::SettleCheck()
{
    try {
        m_pConnection->settleCheck();
        return IsOpen();
    } catch (const ado::Error& error) {
        RecordError(error);
        m_strClosedReason = error.description();
        return false;
    }
}

void CADODataBase::Close(const std::string& strReason)
{
    Close();
    m_strClosedReason = strReason;
}

std::string CADODataBase::ClosedReason() const
{
    if (IsOpen())
        return {};
    return m_strClosedReason.empty() ? "The database is not open." : m_strClosedReason;
}

void CADODataBase::Close()
{
    m_strClosedReason.clear();
    if (!IsOpen())
        return;
    try {
        m_pConnection->close();
    } catch (const ado::Error& error) {
        RecordError(error);
    }
}

bool CADODataBase::CompactDatabase(const std::string& strSource, const std::string& strTarget)
{
    const bool wasOpen = IsOpen();
    bool compacted = false;
    try {
        if (wasOpen)
            m_pConnection->close();
        ado::DatabaseCompactor::compactDatabase(kConnectionPrefix + strSource, kConnectionPrefix + strTarget);
        compacted = true;
    } catch (const ado::Error& error) {
        RecordError(error);
    }
    if (wasOpen)
        return Open(strSource);
    return compacted;
}

bool CADODataBase::CreateDatabase(const std::string& strPath, const std::string& strScript, bool bOverwrite)
{
    try {
        ado::DatabaseCreator::createDatabase(kConnectionPrefix + strPath, strScript, bOverwrite);
        return true;
    } catch (const ado::Error& error) {
        RecordError(error);
        return false;
    }
}

template <typename Operation>
bool CADODataBase::RunConnectionStep(Operation operation)
{
    if (!IsOpen())
        return false;
    try {
        operation(*m_pConnection);
        return true;
    } catch (const ado::Error& error) {
        RecordError(error);
        return false;
    }
}

bool CADODataBase::Execute(const std::string& strSQL)
{
    return RunConnectionStep([&strSQL](ado::Connection& c) { ado::executeSql(c.handle(), strSQL); });
}

bool CADODataBase::BeginTrans()
{
    return RunConnectionStep([](ado::Connection& c) { c.beginTrans(); });
}

bool CADODataBase::CommitTrans()
{
    return RunConnectionStep([](ado::Connection& c) { c.commitTrans(); });
}

bool CADODataBase::RollbackTrans()
{
    return RunConnectionStep([](ado::Connection& c) { c.rollbackTrans(); });
}
