// JetTableMap: how the seven tables of an expense database in an Access (Jet) file become the
// tables of a Quillmar database: each table's columns with their families and text widths, and
// the check of one stored value against them. A value the schema or its rules would refuse is
// answered with the reason, never stored changed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/jet/JetSource.h"
#include "platform/ole/Variant.h"

namespace jetmap {

enum class Family { Text, Boolean, Byte, Short, Long, Currency, DateTime };

struct ColumnRule {
    const char* name;
    Family family;
    int maxChars = 0;       // Text: the widest text the column takes
    bool required = false;  // a null is refused
};

// Which columns make a row's key, for the duplicate check of the lookup tables.
enum class Key { None, Type, TypeAndCategory, Account, Project, AppCode };

struct TableRule {
    const char* name;               // in both files
    const char* otherSourceName;    // another name a Jet file may give it, or null
    std::vector<ColumnRule> columns;
    Key key = Key::None;
};

// The seven tables in the order they are copied (lookups first, then the expenses).
const std::vector<TableRule>& Tables();

// The value as the new database stores it, or why it cannot be stored.
struct Converted {
    ole::Variant value;
    std::optional<std::string> refusal;  // "is longer than 20 characters", ...
};
Converted Convert(const jet::Value& value, const ColumnRule& rule);

// The value as a message shows it ("'Café'", "12.5000", "day 3000000").
std::string Describe(const jet::Value& value);

}  // namespace jetmap
