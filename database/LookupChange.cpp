// A lookup change and the lookup version bump, in one transaction.
#include "database/LookupChange.h"

#include "database/QlVersion.h"
#include "dbaccess/CADODataBase.h"

bool LookupChange::Fail(const AdoFailure& failure)
{
    m_failure = failure;
    // The user hears of the first failure; one of the rollback, rarer, is told beside it.
    if (!m_db.RollbackTrans())
        m_failure.description += "\nThe change could not be undone: " + m_db.LastFailure().description;
    return false;
}

bool LookupChange::Store(const std::function<bool(AdoFailure&)>& change)
{
    m_failure = {};
    if (!m_db.BeginTrans()) {
        m_failure = m_db.LastFailure();
        return false;
    }
    AdoFailure failure;
    if (!change(failure))
        return Fail(failure);
    QlVersion version(m_db);
    // A database without the "PalmUpdt" row never sends lookups; its tables are still editable.
    if (!version.Bump() && !version.LastFailure().IsEmpty())
        return Fail(version.LastFailure());
    if (!m_db.CommitTrans())
        return Fail(m_db.LastFailure());
    return true;
}
