// Raising and restoring the connection's page cache around a large write.
#include "database/ScopedPageCache.h"

#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"

ScopedPageCache::ScopedPageCache(CADODataBase& db) : m_db(db)
{
    {
        CAdoRecordset rs(&m_db);
        if (!rs.OpenQuery("PRAGMA cache_size") || rs.IsEOF())
            return;
        m_previous = std::to_string(rs.GetDF_Long("cache_size"));
    }
    (void)m_db.Execute("PRAGMA cache_size = -" + std::to_string(kLargePageCacheKiB));  // refused: the write is only slower
}

ScopedPageCache::~ScopedPageCache()
{
    if (!m_previous.empty())
        (void)m_db.Execute("PRAGMA cache_size = " + m_previous);  // refused: only more memory is held
}
