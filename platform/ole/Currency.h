// Fixed-point currency value: a 64-bit integer holding the amount times 10,000, with a
// valid / invalid / null status. The Currency column of the expense database stores exactly this.
#pragma once

#include <compare>
#include <cstdint>

namespace ole {

enum class ValueStatus : std::uint8_t {
    Valid,    // the value holds a usable amount or date
    Invalid,  // a failed conversion or an overflow
    Null,     // no value at all (a null column)
};

class Currency {
public:
    static constexpr std::int64_t kScale = 10000;  // four implied decimals

    constexpr Currency() = default;
    constexpr explicit Currency(std::int64_t raw, ValueStatus status = ValueStatus::Valid)
        : m_raw(raw), m_status(status) {}

    static constexpr Currency fromRaw(std::int64_t raw) { return Currency(raw); }
    static constexpr Currency fromCents(std::int64_t cents) { return Currency(cents * 100); }
    static constexpr Currency invalid() { return Currency(0, ValueStatus::Invalid); }
    static constexpr Currency null() { return Currency(0, ValueStatus::Null); }

    constexpr std::int64_t raw() const { return m_raw; }
    constexpr ValueStatus status() const { return m_status; }
    constexpr bool isValid() const { return m_status == ValueStatus::Valid; }
    constexpr void setStatus(ValueStatus status) { m_status = status; }

    // Arithmetic that overflows the 64-bit range leaves the result invalid instead of wrapping.
    Currency& operator+=(const Currency& other);
    Currency& operator-=(const Currency& other);
    friend Currency operator+(Currency a, const Currency& b) { return a += b; }
    friend Currency operator-(Currency a, const Currency& b) { return a -= b; }

    friend constexpr bool operator==(const Currency&, const Currency&) = default;

private:
    std::int64_t m_raw = 0;                       // amount x 10,000
    ValueStatus m_status = ValueStatus::Valid;    // whether m_raw means anything
};

}  // namespace ole
