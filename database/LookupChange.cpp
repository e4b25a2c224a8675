// A lookup change and the lookup version bump, in one transaction.
#include "database/LookupChange.h"

#include "database/QlVersion.h"
#include "dbaccess/CADODataBase.h"

bool LookupChange::Fail(const AdoFailure& failure)
{
    m_failure = failure;
    m_db.RollbackTrans();
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
