// LookupChange: one change to a lookup table (accounts, expense types and categories, projects)
// stored together with the new lookup version for the handheld, in one transaction. A change
// is therefore never stored without the handheld learning of it, whatever happens to the editor
// afterwards; and when any part fails, nothing of it is stored.
#pragma once

#include <functional>

#include "dbaccess/AdoFailure.h"

class CADODataBase;

class LookupChange {
public:
    explicit LookupChange(CADODataBase& db) : m_db(db) {}

    // change writes through record sets on the same connection and answers false, with the
    // failure filled in, when one of its writes is refused. The transaction is rolled back
    // then, and when the version cannot be bumped.
    [[nodiscard]] bool Store(const std::function<bool(AdoFailure&)>& change);
    // Why the last Store failed.
    const AdoFailure& Failure() const { return m_failure; }

private:
    [[nodiscard]] bool Fail(const AdoFailure& failure);

    CADODataBase& m_db;
    AdoFailure m_failure;
};
