// Fuzzes the unpacking of handheld expense records. Every text view must lie inside the record
// (AddressSanitizer watches the exact-size copy), the texts must follow one another, and a record
// packed from what was unpacked must unpack to the same fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "conduit/handheld/HHExpense.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > hh::kExpenseBufferSize)
        size = hh::kExpenseBufferSize;
    const std::vector<std::uint8_t> record(data, data + size);
    hh::HHExpense e;
    hh::UnpackExpense(record, e);

    if (record.empty()) {
        Require(e.item.empty() && e.detail.empty() && e.wExpType == 0);
        return 0;
    }
    const char* begin = reinterpret_cast<const char*>(record.data());
    const char* previousEnd = begin + hh::kExpenseHeaderSize;
    for (const std::string_view text : {e.item, e.category, e.vendor, e.account, e.checkNumber, e.detail}) {
        if (text.empty())
            continue;
        Require(text.data() >= previousEnd && text.data() + text.size() <= begin + size);
        Require(text.find('\0') == std::string_view::npos);
        previousEnd = text.data() + text.size();
    }

    std::uint8_t packed[hh::kExpenseBufferSize];
    const std::size_t length = hh::PackExpense(e, packed);
    if (length == 0)
        return 0;
    hh::HHExpense back;
    hh::UnpackExpense({packed, length}, back);
    Require(back.wExpType == e.wExpType && back.dwDate == e.dwDate && back.dwAmount == e.dwAmount);
    Require(back.dwProjectID == e.dwProjectID && back.bExpComp == e.bExpComp && back.bReimburse == e.bReimburse);
    Require(back.item == e.item && back.category == e.category && back.vendor == e.vendor);
    Require(back.account == e.account && back.checkNumber == e.checkNumber && back.detail == e.detail);
    return 0;
}
