// Currency arithmetic with overflow detection.
#include "platform/ole/Currency.h"

namespace ole {

Currency& Currency::operator+=(const Currency& other)
{
    if (!isValid() || !other.isValid()) {
        *this = invalid();
        return *this;
    }
    std::int64_t sum = 0;
    if (__builtin_add_overflow(m_raw, other.m_raw, &sum)) {
        *this = invalid();
        return *this;
    }
    m_raw = sum;
    return *this;
}

Currency& Currency::operator-=(const Currency& other)
{
    if (!isValid() || !other.isValid()) {
        *this = invalid();
        return *this;
    }
    std::int64_t difference = 0;
    if (__builtin_sub_overflow(m_raw, other.m_raw, &difference)) {
        *this = invalid();
        return *this;
    }
    m_raw = difference;
    return *this;
}

}  // namespace ole
