// LookupTables: the rules of the lookup tables (accounts, expense types and categories, projects)
// that their editors enforce, apart from the editors' widgets: whether a key is taken, the
// categories of a type and the rule that a type keeps one, the number offered to a new type, how
// many expenses a project carries, and the two cascades of a type (a new number, a deletion), each
// stored in one transaction with the lookup version for the handheld (LookupChange).
//
// Where an editor holds a record set of the table, the rules search and write through that record
// set, so the editor's rows show what was stored and its bookmarks stay valid; a search moves its
// current row.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dbaccess/AdoFailure.h"
#include "platform/ole/Variant.h"

class CADODataBase;
class CAdoRecordset;

class LookupTables {
public:
    // db: the connection the editors' record sets are open on.
    explicit LookupTables(CADODataBase& db) : m_db(db) {}

    // Whether a key is taken: a row of the record set has it (text keys in any letter case).
    // loaded is the key the edited row had; an edit that keeps it exactly searches nothing. None
    // for a new row. A record set that is not open holds no key.
    [[nodiscard]] static bool AccountCodeTaken(CAdoRecordset& accounts, const std::string& code,
                                               const std::optional<std::string>& loaded);
    [[nodiscard]] static bool TypeNumberTaken(CAdoRecordset& types, std::int16_t number,
                                              std::optional<std::int16_t> loaded);
    [[nodiscard]] static bool CategoryTaken(CAdoRecordset& categories, std::int16_t type, const std::string& code,
                                            const std::optional<std::string>& loaded);
    [[nodiscard]] static bool ProjectIDTaken(CAdoRecordset& projects, std::int32_t id,
                                             std::optional<std::int32_t> loaded);

    // One row of lkpExpCategories as an editor lists it.
    struct CategoryRow {
        ole::Variant bookmark;    // the row in the categories record set
        std::string code;         // ExpCat
        std::string description;  // CatDesc
    };
    // The categories of type, in the record set's order.
    static std::vector<CategoryRow> CategoriesOf(CAdoRecordset& categories, std::int16_t type);
    // The row the record set stands on.
    static CategoryRow CurrentCategory(CAdoRecordset& categories);
    // A type keeps at least one category: true when type has one category or none in the record
    // set, so none of them may go. None when the record set is not open and cannot tell.
    static std::optional<bool> IsLastCategory(CAdoRecordset& categories, std::int16_t type);

    // The number offered to a new type: one above the highest in the record set, but at least the
    // first of the user's own types (10).
    [[nodiscard]] static std::int32_t NewTypeNumber(CAdoRecordset& types);

    // What an expense type row holds.
    struct TypeValues {
        std::int16_t number = 0;   // ExpType
        std::string label;         // ExpLabel
        std::string description;   // ExpDesc
        bool reimbursable = false; // ExpComp 2 (charged to projects), else 1
    };
    // The type row an edit changes.
    struct TypeEdit {
        ole::Variant row;                // its bookmark in the types record set
        std::int16_t loadedNumber = 0;   // its number before the edit
    };
    // Stores a type over the row edit names, or as a new row without one. An edit that changes
    // the number moves the type's categories (through categories) and expenses to it. The types
    // record set then stands on the stored row. False when any part was refused: nothing is
    // stored, Failure() says why, and the record sets may no longer match the tables.
    [[nodiscard]] bool StoreType(CAdoRecordset& types, CAdoRecordset& categories, const TypeValues& values,
                                 const std::optional<TypeEdit>& edit);
    // Deletes the type row typeRow names and every category of its number. False as StoreType.
    [[nodiscard]] bool DeleteType(CAdoRecordset& types, CAdoRecordset& categories, const ole::Variant& typeRow);

    // How many expenses are charged to the project: those of reimbursable types (TypeComp 2)
    // with its ID; other types keep a year in ProjectID. None when they cannot be counted.
    std::optional<std::int32_t> ExpensesChargedTo(std::int32_t projectID);

    // Ends a row's writes: Update when every value was taken, else (or when Update is refused)
    // the pending row is dropped and failure tells why.
    [[nodiscard]] static bool FinishRow(CAdoRecordset& rs, bool bValuesTaken, AdoFailure& failure);

    // Why the last StoreType, DeleteType or ExpensesChargedTo failed.
    const AdoFailure& Failure() const { return m_failure; }

private:
    [[nodiscard]] static bool Found(CAdoRecordset& rs, const std::string& criterion);
    [[nodiscard]] static bool DeleteCategoriesOf(CAdoRecordset& categories, std::int16_t type, AdoFailure& failure);

    CADODataBase& m_db;   // the editors' connection
    AdoFailure m_failure; // why the last store, deletion or count failed
};
