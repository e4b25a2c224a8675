// Declared-type mapping and value coercion for columns.
#include "platform/ado/FieldInfo.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/ado/Error.h"
#include "platform/ado/SqlText.h"
#include "platform/ole/NumberLocale.h"

namespace ado {
namespace {

using ole::VarType;
using ole::Variant;

std::string upper(const char* text)
{
    std::string result = text ? text : "";
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

std::optional<std::int64_t> parseInteger(const std::string& text)
{
    std::int64_t value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

std::optional<double> parseDouble(const std::string& text)
{
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// The numeric value of any number-like variant, for range checks and conversions.
std::optional<long double> numberOf(const Variant& value)
{
    switch (value.type()) {
    case VarType::Bool:
    case VarType::Byte:
    case VarType::Short:
    case VarType::Long:
    case VarType::BigInt: return static_cast<long double>(value.rawWord());
    case VarType::Double: return *value.get<double>();
    case VarType::Currency:
        if (!value.get<ole::Currency>()->isValid())
            return std::nullopt;
        return static_cast<long double>(value.get<ole::Currency>()->raw()) / ole::Currency::kScale;
    case VarType::Text: {
        if (const auto integer = parseInteger(*value.get<std::string>()))
            return static_cast<long double>(*integer);
        if (const auto real = parseDouble(*value.get<std::string>()))
            return *real;
        return std::nullopt;
    }
    default: return std::nullopt;
    }
}

std::string textOf(const Variant& value)
{
    switch (value.type()) {
    case VarType::Text: return *value.get<std::string>();
    case VarType::Bool: return *value.get<bool>() ? "True" : "False";
    case VarType::Double: {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, *value.get<double>());
        return std::string(buffer, result.ptr);
    }
    case VarType::Currency: return ole::NumberLocale().formatCurrency(*value.get<ole::Currency>());
    case VarType::Date: return value.get<ole::DateTime>()->isoText();
    default: return std::to_string(value.rawWord());
    }
}

}  // namespace

FieldFamily FieldInfo::familyOf(const char* declaredType)
{
    const std::string type = upper(declaredType);
    if (type.empty())
        return FieldFamily::Dynamic;
    if (contains(type, "CHAR") || contains(type, "TEXT") || contains(type, "CLOB"))
        return FieldFamily::Text;
    if (contains(type, "BOOL") || type == "BIT")
        return FieldFamily::Bool;
    if (contains(type, "TINYINT") || type == "BYTE")
        return FieldFamily::Byte;
    if (contains(type, "SMALLINT"))
        return FieldFamily::Short;
    if (contains(type, "BIGINT"))
        return FieldFamily::BigInt;
    if (contains(type, "INT") || type == "LONG")
        return FieldFamily::Long;
    if (contains(type, "CURRENCY") || contains(type, "MONEY"))
        return FieldFamily::Currency;
    if (contains(type, "DATE") || contains(type, "TIME"))
        return FieldFamily::Date;
    if (contains(type, "REAL") || contains(type, "DOUB") || contains(type, "FLOA"))
        return FieldFamily::Double;
    return FieldFamily::Dynamic;
}

std::optional<std::size_t> FieldInfo::find(const std::vector<FieldInfo>& fields, std::string_view name)
{
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name() == name)
            return i;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (equalsFolded(fields[i].name(), name))
            return i;
    return std::nullopt;
}

VarType FieldInfo::varType() const
{
    switch (m_family) {
    case FieldFamily::Text: return VarType::Text;
    case FieldFamily::Bool: return VarType::Bool;
    case FieldFamily::Byte: return VarType::Byte;
    case FieldFamily::Short: return VarType::Short;
    case FieldFamily::Long: return VarType::Long;
    case FieldFamily::BigInt: return VarType::BigInt;
    case FieldFamily::Double: return VarType::Double;
    case FieldFamily::Currency: return VarType::Currency;
    case FieldFamily::Date: return VarType::Date;
    case FieldFamily::Dynamic: break;
    }
    return VarType::Empty;
}

void FieldInfo::refuse(const Variant&) const
{
    throw Error(kErrorsOccurred, "Recordset",
                "Multiple-step operation generated errors. Check each status value. (The value "
                "cannot be stored in column '" + m_name + "'.)");
}

Variant FieldInfo::coerce(const Variant& value) const
{
    if (value.isEmptyOrNull())
        return value;
    if (value.type() == VarType::Bookmark)
        refuse(value);

    switch (m_family) {
    case FieldFamily::Dynamic: return value;
    case FieldFamily::Text: return Variant(textOf(value));
    case FieldFamily::Bool: {
        if (value.type() == VarType::Text) {
            std::string text = upper(value.get<std::string>()->c_str());
            if (text == "TRUE" || text == "YES")
                return Variant(true);
            if (text == "FALSE" || text == "NO")
                return Variant(false);
        }
        const auto number = numberOf(value);
        if (!number)
            refuse(value);
        return Variant(*number != 0);
    }
    case FieldFamily::Byte:
    case FieldFamily::Short:
    case FieldFamily::Long:
    case FieldFamily::BigInt: {
        const auto number = numberOf(value);
        if (!number)
            refuse(value);
        const long double rounded = std::round(*number);
        long double low = 0, high = 0;
        switch (m_family) {
        case FieldFamily::Byte: low = 0; high = 255; break;
        case FieldFamily::Short: low = -32768; high = 32767; break;
        case FieldFamily::Long: low = std::numeric_limits<std::int32_t>::min();
                                high = std::numeric_limits<std::int32_t>::max(); break;
        default: low = -9.2233720368547758e18L; high = 9.2233720368547758e18L; break;
        }
        if (rounded < low || rounded > high)
            refuse(value);
        // Integers are carried exactly; the long double path is only for range checks.
        const std::int64_t exact = value.type() == VarType::BigInt || value.type() == VarType::Long ||
                                           value.type() == VarType::Short || value.type() == VarType::Byte
                                       ? value.rawWord()
                                       : static_cast<std::int64_t>(rounded);
        switch (m_family) {
        case FieldFamily::Byte: return Variant(static_cast<std::uint8_t>(exact));
        case FieldFamily::Short: return Variant(static_cast<std::int16_t>(exact));
        case FieldFamily::Long: return Variant(static_cast<std::int32_t>(exact));
        default: return Variant(exact);
        }
    }
    case FieldFamily::Double: {
        const auto number = numberOf(value);
        if (!number)
            refuse(value);
        return Variant(static_cast<double>(*number));
    }
    case FieldFamily::Currency: {
        if (const auto* currency = value.get<ole::Currency>()) {
            if (!currency->isValid())
                refuse(value);
            return value;
        }
        if (value.type() == VarType::Text) {
            const ole::Currency parsed = ole::NumberLocale().parseCurrency(*value.get<std::string>());
            if (!parsed.isValid())
                refuse(value);
            return Variant(parsed);
        }
        const auto number = numberOf(value);
        if (!number || std::fabs(*number) > 9.2e14L)
            refuse(value);
        return Variant(ole::Currency(static_cast<std::int64_t>(std::round(*number * ole::Currency::kScale))));
    }
    case FieldFamily::Date: {
        if (const auto* date = value.get<ole::DateTime>()) {
            if (!date->isValid())
                refuse(value);
            return value;
        }
        if (value.type() == VarType::Text) {
            const ole::DateTime parsed = ole::DateTime::fromIsoText(*value.get<std::string>());
            if (!parsed.isValid())
                refuse(value);
            return Variant(parsed);
        }
        const auto number = numberOf(value);
        if (!number)
            refuse(value);
        const ole::DateTime date(static_cast<double>(*number));
        if (!date.isValid())
            refuse(value);
        return Variant(date);
    }
    }
    return value;
}

}  // namespace ado
