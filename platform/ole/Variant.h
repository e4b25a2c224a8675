// Variant: the tagged value that crosses the database layer. Every column value, every value
// written to a column and every row bookmark travels as one.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "platform/ole/Currency.h"
#include "platform/ole/DateTime.h"

namespace ole {

enum class VarType : std::uint8_t {
    Empty,     // no value at all: "leave this column to its default"
    Null,      // the database null
    Bool,
    Byte,      // unsigned 8-bit
    Short,     // signed 16-bit
    Long,      // signed 32-bit
    BigInt,    // signed 64-bit (computed columns)
    Double,    // computed columns
    Currency,
    Date,
    Text,      // UTF-8
    Bookmark,  // identifies one row of an open record set
};

struct NullValue {
    friend bool operator==(NullValue, NullValue) = default;
};

struct Bookmark {
    std::int64_t id = 0;  // the row's identity within its record set
    friend bool operator==(Bookmark, Bookmark) = default;
};

class Variant {
public:
    Variant() = default;  // empty
    static Variant null() { return Variant(NullValue{}); }
    Variant(NullValue v) : m_value(v) {}
    Variant(bool v) : m_value(v) {}
    Variant(std::uint8_t v) : m_value(v) {}
    Variant(std::int16_t v) : m_value(v) {}
    Variant(std::int32_t v) : m_value(v) {}
    Variant(std::int64_t v) : m_value(v) {}
    Variant(double v) : m_value(v) {}
    Variant(const ole::Currency& v) : m_value(v) {}
    Variant(const ole::DateTime& v) : m_value(v) {}
    Variant(std::string v) : m_value(std::move(v)) {}
    Variant(const char* v) : m_value(std::string(v)) {}
    Variant(ole::Bookmark v) : m_value(v) {}

    VarType type() const { return static_cast<VarType>(m_value.index()); }
    bool isEmpty() const { return type() == VarType::Empty; }
    bool isNull() const { return type() == VarType::Null; }
    bool isEmptyOrNull() const { return isEmpty() || isNull(); }

    template <typename T> const T* get() const { return std::get_if<T>(&m_value); }
    template <typename T> T* getMutable() { return std::get_if<T>(&m_value); }

    // The machine word as the value holds it, without conversion: the integer of an integer
    // type, -1 / 0 for a boolean, the scaled integer of a currency; 0 for anything else.
    std::int64_t rawWord() const;

    friend bool operator==(const Variant&, const Variant&) = default;

private:
    std::variant<std::monostate, NullValue, bool, std::uint8_t, std::int16_t, std::int32_t,
                 std::int64_t, double, ole::Currency, ole::DateTime, std::string, ole::Bookmark>
        m_value;
};

}  // namespace ole
