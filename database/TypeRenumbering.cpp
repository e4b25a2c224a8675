// Moving a type's categories and expenses to its new number.
#include "database/TypeRenumbering.h"

#include <string>

#include "database/ExpenseSchema.h"
#include "dbaccess/CAdoRecordset.h"

bool TypeRenumbering::Store(CAdoRecordset& rs, const char* column, std::int16_t nTo, AdoFailure& failure)
{
    if (rs.PutDF_Short(column, nTo) && rs.Update())
        return true;
    failure = rs.LastFailure();
    rs.CancelUpdate();
    return false;
}

bool TypeRenumbering::MoveDependents(CADODataBase& db, CAdoRecordset& categories, std::int16_t nFrom,
                                     std::int16_t nTo, AdoFailure& failure)
{
    categories.m_strFind = std::string(schema::categories::kExpType) + "=" + std::to_string(nFrom);
    // Each moved row stops matching, so the search starts over from the first row.
    while (categories.FindFirst())
        if (!Store(categories, schema::categories::kExpType, nTo, failure))
            return false;
    CAdoRecordset expenses(&db);
    expenses.m_strFilter = std::string(schema::expenses::kExpType) + "=" + std::to_string(nFrom);
    if (!expenses.OpenTable(schema::expenses::kTable)) {
        failure = expenses.LastFailure();
        return false;
    }
    for (expenses.MoveFirst(); !expenses.IsEOF(); expenses.MoveNext())
        if (!Store(expenses, schema::expenses::kExpType, nTo, failure))
            return false;
    return true;
}
