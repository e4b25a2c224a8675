// TypeRenumbering: when an expense type takes a new number, its categories and its expenses
// follow it, so neither is left under a number that no type row has. Run inside the
// transaction that stores the type row (LookupChange), so all of it is stored or none.
#pragma once

#include <cstdint>

#include "dbaccess/AdoFailure.h"

class CADODataBase;
class CAdoRecordset;

class TypeRenumbering {
public:
    // categories: an open record set on lkpExpCategories (the editor's, so its rows show the
    // new number). The expenses are moved through a record set of their own.
    [[nodiscard]] static bool MoveDependents(CADODataBase& db, CAdoRecordset& categories, std::int16_t nFrom,
                                             std::int16_t nTo, AdoFailure& failure);

private:
    [[nodiscard]] static bool Store(CAdoRecordset& rs, const char* column, std::int16_t nTo, AdoFailure& failure);
};
