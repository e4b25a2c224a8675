// The lookup tables' rules: key searches, a type's categories, the new-type number, the type
// cascades and the project's expense count.
#include "database/LookupTables.h"

#include <algorithm>

#include "database/ExpenseSchema.h"
#include "database/LookupChange.h"
#include "database/TypeRenumbering.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/ado/SqlText.h"

namespace types = schema::types;
namespace categories = schema::categories;

namespace {

// Find criteria: a column equal to a number, or to a text (quoted, so any quote in it is kept).
std::string Equals(const char* column, long long value) { return std::string(column) + "=" + std::to_string(value); }

std::string Equals(const char* column, const std::string& text)
{
    return std::string(column) + "=" + ado::quoteText(text);
}

}  // namespace

bool LookupTables::Found(CAdoRecordset& rs, const std::string& criterion)
{
    if (!rs.IsOpen())
        return false;
    rs.m_strFind = criterion;
    return rs.FindFirst();
}

bool LookupTables::AccountCodeTaken(CAdoRecordset& accounts, const std::string& code,
                                    const std::optional<std::string>& loaded)
{
    return code != loaded && Found(accounts, Equals(schema::accounts::kAcctCode, code));
}

bool LookupTables::TypeNumberTaken(CAdoRecordset& types, std::int16_t number, std::optional<std::int16_t> loaded)
{
    return number != loaded && Found(types, Equals(types::kExpType, number));
}

bool LookupTables::CategoryTaken(CAdoRecordset& categories, std::int16_t type, const std::string& code,
                                 const std::optional<std::string>& loaded)
{
    return code != loaded &&
           Found(categories, Equals(categories::kExpType, type) + " AND " + Equals(categories::kExpCat, code));
}

bool LookupTables::ProjectIDTaken(CAdoRecordset& projects, std::int32_t id, std::optional<std::int32_t> loaded)
{
    return id != loaded && Found(projects, Equals(schema::projects::kProjectID, id));
}

std::vector<LookupTables::CategoryRow> LookupTables::CategoriesOf(CAdoRecordset& categories, std::int16_t type)
{
    std::vector<CategoryRow> rows;
    for (bool found = Found(categories, Equals(categories::kExpType, type)); found; found = categories.FindNext())
        rows.push_back(CurrentCategory(categories));
    return rows;
}

LookupTables::CategoryRow LookupTables::CurrentCategory(CAdoRecordset& categories)
{
    return {categories.GetBookmark(), categories.GetDF_Text(categories::kExpCat),
            categories.GetDF_Text(categories::kCatDesc)};
}

std::optional<bool> LookupTables::IsLastCategory(CAdoRecordset& categories, std::int16_t type)
{
    if (!categories.IsOpen())
        return std::nullopt;
    return !(Found(categories, Equals(categories::kExpType, type)) && categories.FindNext());
}

std::int32_t LookupTables::NewTypeNumber(CAdoRecordset& types)
{
    std::int32_t highest = 0;
    if (types.IsOpen())
        for (types.MoveFirst(); !types.IsEOF(); types.MoveNext())
            highest = std::max<std::int32_t>(highest, types.GetDF_Short(types::kExpType));
    return std::max<std::int32_t>(highest + 1, schema::typerange::kFirstUser);
}

bool LookupTables::StoreType(CAdoRecordset& types, CAdoRecordset& categories, const TypeValues& values,
                             const std::optional<TypeEdit>& edit)
{
    const auto composition = values.reimbursable ? schema::comp::kReimbursable : schema::comp::kPlain;
    LookupChange change(m_db);
    const bool stored = change.Store([&](AdoFailure& failure) {
        const bool onRow = edit ? types.SetBookmark(edit->row) : types.AddNew();
        if (!FinishRow(types,
                       onRow && types.PutDF_Short(types::kExpType, values.number) &&
                           types.PutDF_Text(types::kExpLabel, values.label) &&
                           types.PutDF_Text(types::kExpDesc, values.description) &&
                           types.PutDF_Byte(types::kExpComp, composition),
                       failure))
            return false;
        if (!edit || edit->loadedNumber == values.number)
            return true;
        return TypeRenumbering::MoveDependents(m_db, categories, edit->loadedNumber, values.number, failure);
    });
    m_failure = change.Failure();
    return stored;
}

bool LookupTables::DeleteCategoriesOf(CAdoRecordset& categories, std::int16_t type, AdoFailure& failure)
{
    // Each deleted row is gone from the search, so it starts over from the first row.
    while (Found(categories, Equals(categories::kExpType, type)))
        if (!categories.Delete()) {
            failure = categories.LastFailure();
            return false;
        }
    return true;
}

bool LookupTables::DeleteType(CAdoRecordset& types, CAdoRecordset& categories, const ole::Variant& typeRow)
{
    LookupChange change(m_db);
    const bool deleted = change.Store([&](AdoFailure& failure) {
        if (!types.SetBookmark(typeRow)) {
            failure = types.LastFailure();
            return false;
        }
        if (!DeleteCategoriesOf(categories, types.GetDF_Short(types::kExpType), failure))
            return false;
        if (types.Delete())
            return true;
        failure = types.LastFailure();
        return false;
    });
    m_failure = change.Failure();
    return deleted;
}

std::optional<std::int32_t> LookupTables::ExpensesChargedTo(std::int32_t projectID)
{
    namespace expenses = schema::expenses;
    CAdoRecordset uses(&m_db);
    if (!uses.OpenQuery("SELECT COUNT(*) AS Uses FROM " + std::string(expenses::kTable) + " WHERE " +
                        Equals(expenses::kTypeComp, schema::comp::kReimbursable) + " AND " +
                        Equals(expenses::kProjectID, projectID))) {
        m_failure = uses.LastFailure();
        return std::nullopt;
    }
    m_failure = {};
    return uses.GetDF_Long("Uses");
}

bool LookupTables::FinishRow(CAdoRecordset& rs, bool bValuesTaken, AdoFailure& failure)
{
    if (bValuesTaken && rs.Update())
        return true;
    failure = rs.LastFailure();
    rs.CancelUpdate();
    return false;
}
