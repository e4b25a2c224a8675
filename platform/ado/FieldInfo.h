// One column of a record set: its name and the value family read from its declared SQL type.
// Values written to a column are coerced to the family first, so the store never holds a value
// the column's readers would misread.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ole/Variant.h"

namespace ado {

enum class FieldFamily : std::uint8_t {
    Dynamic,   // no declared type (computed columns): values keep the type they come with
    Text,      // VARCHAR(n), TEXT
    Bool,      // BOOLEAN
    Byte,      // TINYINT
    Short,     // SMALLINT
    Long,      // INTEGER
    BigInt,    // BIGINT
    Double,    // REAL, DOUBLE, FLOAT
    Currency,  // CURRENCY: integer holding the value x 10,000
    Date,      // DATETIME: text 'YYYY-MM-DD HH:MM:SS'
};

class FieldInfo {
public:
    FieldInfo(std::string name, FieldFamily family) : m_name(std::move(name)), m_family(family) {}

    static FieldFamily familyOf(const char* declaredType);

    // The index of the column named name: an exact match first (callers spell names as the
    // schema does), then one that differs only in ASCII letter case.
    static std::optional<std::size_t> find(const std::vector<FieldInfo>& fields, std::string_view name);

    const std::string& name() const { return m_name; }
    FieldFamily family() const { return m_family; }

    // The value as this column stores it: empty and null pass unchanged; a value that does not
    // fit the family (text that is no number, a number out of range) throws kErrorsOccurred.
    ole::Variant coerce(const ole::Variant& value) const;

    // Widens a stored word back to the family's variant type.
    ole::VarType varType() const;

private:
    [[noreturn]] void refuse(const ole::Variant& value) const;

    std::string m_name;     // column name as the database declares it
    FieldFamily m_family;   // how its values are read and written
};

}  // namespace ado
