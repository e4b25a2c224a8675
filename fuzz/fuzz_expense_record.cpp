// Fuzzes the unpacking of handheld expense records. Nothing outside the record may be read
// (AddressSanitizer watches the exact-size copy); the decoded texts hold no NUL and, back in
// Windows-1252, no more bytes than the record gave them; a record packed from what was unpacked
// unpacks to the same fields; and a record that held all six texts packs back to its own bytes,
// but for the five bytes Windows-1252 leaves undefined, which come back as '?'.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "conduit/handheld/HHExpense.h"
#include "conduit/handheld/HandheldText.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

bool Undefined(std::uint8_t c)
{
    return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > hh::kExpenseBufferSize)
        size = hh::kExpenseBufferSize;
    const std::vector<std::uint8_t> record(data, data + size);
    hh::HHExpense e;
    hh::UnpackExpense(record, e);

    std::size_t handheldBytes = 0;
    for (const std::string* text : {&e.item, &e.category, &e.vendor, &e.account, &e.checkNumber, &e.detail}) {
        Require(text->find('\0') == std::string::npos);
        handheldBytes += hh::ToHandheldText(*text).size();
    }
    Require(handheldBytes <= (size > hh::kExpenseHeaderSize ? size - hh::kExpenseHeaderSize : 0));

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

    if (length <= size)  // every text had its NUL inside the record
        for (std::size_t i = 0; i < length; ++i)
            Require(packed[i] == (i >= hh::kExpenseHeaderSize && Undefined(record[i]) ? '?' : record[i]));
    return 0;
}
