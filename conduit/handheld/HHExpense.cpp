// Unpacking and packing expense records.
#include "conduit/handheld/HHExpense.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "conduit/handheld/HHBytes.h"
#include "conduit/handheld/HHRecordFormats.h"

namespace hh {

void UnpackExpense(std::span<const std::uint8_t> record, HHExpense& out)
{
    std::uint8_t header[kExpenseHeaderSize] = {};
    std::copy_n(record.begin(), std::min(record.size(), kExpenseHeaderSize), header);
    out.wExpType = GetHHWord(header);
    out.dwDate = GetHHDWord(header + 2);
    out.dwAmount = GetHHDWord(header + 6);
    out.dwProjectID = GetHHDWord(header + 10);
    out.bExpComp = header[14];
    out.bReimburse = header[15];

    const std::array<std::string_view*, kExpenseTextCount> texts = {&out.item, &out.category, &out.vendor,
                                                                     &out.account, &out.checkNumber, &out.detail};
    std::size_t offset = kExpenseHeaderSize;
    for (std::string_view* text : texts) {
        if (offset >= record.size()) {
            *text = {};
            continue;
        }
        *text = TextAt(record.subspan(offset));
        offset += text->size() + 1;  // past the NUL (or past the end)
    }
}

std::size_t PackExpense(const HHExpense& expense, std::span<std::uint8_t> buffer)
{
    const std::array<std::string_view, kExpenseTextCount> texts = {expense.item, expense.category, expense.vendor,
                                                                   expense.account, expense.checkNumber, expense.detail};
    std::size_t length = kExpenseHeaderSize;
    for (const std::string_view text : texts) {
        if (text.find('\0') != std::string_view::npos)
            return 0;
        length += text.size() + 1;
    }
    if (length > buffer.size() || length > kExpenseBufferSize)
        return 0;
    std::uint8_t* p = buffer.data();
    PutHHWord(p, expense.wExpType);
    PutHHDWord(p + 2, expense.dwDate);
    PutHHDWord(p + 6, expense.dwAmount);
    PutHHDWord(p + 10, expense.dwProjectID);
    p[14] = expense.bExpComp;
    p[15] = expense.bReimburse;
    std::size_t offset = kExpenseHeaderSize;
    for (const std::string_view text : texts) {
        std::copy(text.begin(), text.end(), p + offset);
        offset += text.size();
        p[offset++] = 0;
    }
    return length;
}

}  // namespace hh
