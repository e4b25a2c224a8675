// Variant helpers.
#include "platform/ole/Variant.h"

namespace ole {

std::int64_t Variant::rawWord() const
{
    switch (type()) {
    case VarType::Bool: return *get<bool>() ? -1 : 0;
    case VarType::Byte: return *get<std::uint8_t>();
    case VarType::Short: return *get<std::int16_t>();
    case VarType::Long: return *get<std::int32_t>();
    case VarType::BigInt: return *get<std::int64_t>();
    case VarType::Currency: return get<Currency>()->raw();
    default: return 0;
    }
}

}  // namespace ole
