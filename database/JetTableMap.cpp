// The expense tables' columns and the check of each stored value.
#include "database/JetTableMap.h"

#include <cmath>
#include <limits>
#include <sstream>

#include "database/ExpenseSchema.h"

namespace jetmap {

namespace {

using F = Family;
namespace ex = schema::expenses;

std::size_t CharacterCount(const std::string& text)
{
    std::size_t count = 0;
    for (const unsigned char c : text)
        count += (c & 0xC0) != 0x80;  // UTF-8 continuation bytes belong to the character before
    return count;
}

// An amount with its four stored decimals, exactly.
std::string FourDecimals(std::int64_t raw)
{
    const std::uint64_t magnitude = raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    std::string decimals = std::to_string(magnitude % 10000);
    decimals.insert(0, 4 - decimals.size(), '0');
    return (raw < 0 ? "-" : "") + std::to_string(magnitude / 10000) + "." + decimals;
}

Converted Refused(std::string reason) { return {ole::Variant(), std::move(reason)}; }

template <typename T>
Converted InRange(std::int64_t value, const char* family)
{
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max())
        return Refused(std::string("is out of range for ") + family);
    return {ole::Variant(static_cast<T>(value)), std::nullopt};
}

Converted Whole(const jet::Value& value, Family family)
{
    if (value.kind != jet::Value::Kind::Integer && value.kind != jet::Value::Kind::Boolean)
        return Refused("is not a whole number");
    switch (family) {
    case F::Byte: return InRange<std::uint8_t>(value.integer, "a byte (0 to 255)");
    case F::Short: return InRange<std::int16_t>(value.integer, "a short integer (-32768 to 32767)");
    default: return InRange<std::int32_t>(value.integer, "a long integer");
    }
}

}  // namespace

const std::vector<TableRule>& Tables()
{
    namespace ty = schema::types;
    namespace ca = schema::categories;
    namespace ac = schema::accounts;
    namespace pr = schema::projects;
    namespace st = schema::statuses;
    namespace ve = schema::version;
    static const std::vector<TableRule> tables = {
        {ve::kTable, nullptr, {{ve::kAppCode, F::Text, 16, true}, {ve::kMajor, F::Short}, {ve::kMinor, F::Short}}, Key::AppCode},
        {st::kTable, "lkpStatus", {{st::kStatus, F::Short, 0, true}, {st::kStatusCode, F::Text, 4}, {st::kStatDesc, F::Text, 32}}},
        {ty::kTable, nullptr,
         {{ty::kExpType, F::Short, 0, true}, {ty::kExpLabel, F::Text, ty::kLabelChars},
          {ty::kExpDesc, F::Text, ty::kDescriptionChars}, {ty::kExpComp, F::Byte}},
         Key::Type},
        {ca::kTable, nullptr,
         {{ca::kExpType, F::Short, 0, true}, {ca::kExpCat, F::Text, ca::kCategoryChars, true},
          {ca::kCatDesc, F::Text, ca::kDescriptionChars}},
         Key::TypeAndCategory},
        {ac::kTable, nullptr, {{ac::kAcctCode, F::Text, ac::kCodeChars, true}, {ac::kAcctDesc, F::Text, ac::kDescriptionChars}},
         Key::Account},
        {pr::kTable, nullptr,
         {{pr::kProjectID, F::Long, 0, true}, {pr::kProjectName, F::Text, pr::kNameChars},
          {pr::kProjectDesc, F::Text, pr::kDescriptionChars}, {pr::kActive, F::Boolean}},
         Key::Project},
        {ex::kTable, nullptr,
         {{ex::kExpType, F::Short}, {ex::kExpCat, F::Text, ca::kCategoryChars}, {ex::kExpDate, F::DateTime},
          {ex::kExpYear, F::Short}, {ex::kItem, F::Text, ex::kItemChars}, {ex::kDetail, F::Text, ex::kDetailChars},
          {ex::kVendor, F::Text, ex::kVendorChars}, {ex::kChkNbr, F::Text, ex::kCheckNumberChars},
          {ex::kAcctCode, F::Text, ac::kCodeChars}, {ex::kAmount, F::Currency}, {ex::kReimburse, F::Boolean},
          {ex::kStatus, F::Short}, {ex::kProjectID, F::Long}, {ex::kTypeComp, F::Byte}}},
    };
    return tables;
}

Converted Convert(const jet::Value& value, const ColumnRule& rule)
{
    using K = jet::Value::Kind;
    if (value.kind == K::Null || (value.kind == K::Text && value.text.empty()))
        return rule.required ? Refused("is empty") : Converted{ole::Variant::null(), std::nullopt};
    switch (rule.family) {
    case F::Text:
        if (value.kind != K::Text)
            return Refused("is not a text");
        if (CharacterCount(value.text) > static_cast<std::size_t>(rule.maxChars))
            return Refused("is longer than " + std::to_string(rule.maxChars) + " characters");
        return {ole::Variant(value.text), std::nullopt};
    case F::Boolean:
        if (value.kind != K::Boolean && value.kind != K::Integer)
            return Refused("is not a yes/no value");
        return {ole::Variant(value.integer != 0), std::nullopt};
    case F::Currency:
        if (value.kind == K::Currency)
            return {ole::Variant(ole::Currency::fromRaw(value.integer)), std::nullopt};
        if (value.kind == K::Integer && std::abs(value.integer) <= std::numeric_limits<std::int64_t>::max() / ole::Currency::kScale)
            return {ole::Variant(ole::Currency::fromRaw(value.integer * ole::Currency::kScale)), std::nullopt};
        return Refused("is not a currency amount");
    case F::DateTime: {
        if (value.kind != K::DateTime)
            return Refused("is not a date");
        const ole::DateTime date(value.real);
        if (!date.isValid())
            return Refused("cannot be a date (the years 100 to 9999 only)");
        return {ole::Variant(date), std::nullopt};
    }
    default: return Whole(value, rule.family);
    }
}

std::string Describe(const jet::Value& value)
{
    using K = jet::Value::Kind;
    std::ostringstream text;
    switch (value.kind) {
    case K::Null: return "(empty)";
    case K::Boolean: return value.integer ? "Yes" : "No";
    case K::Integer: return std::to_string(value.integer);
    case K::Currency: return FourDecimals(value.integer);
    case K::Real: text << value.real; return text.str();
    case K::DateTime: text << "day " << value.real; return text.str();
    case K::Text: return "'" + value.text + "'";
    case K::Other: break;
    }
    return "(a value of another type)";
}

}  // namespace jetmap
