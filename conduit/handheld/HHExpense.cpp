// Unpacking and packing expense records, with their texts decoded and encoded on the way.
#include "conduit/handheld/HHExpense.h"

#include <algorithm>
#include <array>

#include "conduit/handheld/HHBytes.h"
#include "conduit/handheld/HHRecordFormats.h"
#include "conduit/handheld/HandheldText.h"

namespace hh {

namespace {

// The six texts in record order; Expense is HHExpense or const HHExpense.
template <class Expense>
auto Texts(Expense& e)
{
    return std::array{&e.item, &e.category, &e.vendor, &e.account, &e.checkNumber, &e.detail};
}

}  // namespace

std::string CheckExpenseRecord(std::size_t size, std::span<const std::uint8_t> record)
{
    if (size > kExpenseBufferSize)
        return std::to_string(size) + " bytes, longer than an expense record can be (" +
               std::to_string(kExpenseBufferSize) + ")";
    if (size < kExpenseHeaderSize)
        return std::to_string(size) + " bytes, shorter than the " + std::to_string(kExpenseHeaderSize) +
               "-byte header of an expense";
    const auto nuls = std::count(record.begin() + kExpenseHeaderSize, record.end(), std::uint8_t(0));
    // The last text may lack its NUL only where the record fills its whole buffer; anywhere else
    // five NULs mean a text is missing and the rest would be read into the wrong fields.
    const bool filledWithoutFinalNul = size == kExpenseBufferSize && record.back() != 0;
    if (nuls < static_cast<std::ptrdiff_t>(kExpenseTextCount) &&
        !(filledWithoutFinalNul && nuls == static_cast<std::ptrdiff_t>(kExpenseTextCount - 1)))
        return "its six texts are not all there";
    return {};
}

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

    std::size_t offset = kExpenseHeaderSize;
    for (std::string* text : Texts(out)) {
        const std::string_view handheld = offset < record.size() ? TextAt(record.subspan(offset)) : std::string_view();
        AssignFromHandheldText(*text, handheld);
        offset += handheld.size() + 1;  // past the NUL (or past the end)
    }
}

std::size_t PackExpense(const HHExpense& expense, std::span<std::uint8_t> buffer)
{
    // Laid out in a record of its own first, so buffer is written only when everything fits.
    std::uint8_t record[kExpenseBufferSize] = {};
    PutHHWord(record, expense.wExpType);
    PutHHDWord(record + 2, expense.dwDate);
    PutHHDWord(record + 6, expense.dwAmount);
    PutHHDWord(record + 10, expense.dwProjectID);
    record[14] = expense.bExpComp;
    record[15] = expense.bReimburse;

    std::size_t length = kExpenseHeaderSize;
    for (const std::string* text : Texts(expense)) {
        if (text->find('\0') != std::string::npos)
            return 0;  // it would end the text early and shift every field after it
        const std::size_t room = kExpenseBufferSize - length;  // its NUL included
        const std::size_t written = ToHandheldText(*text, reinterpret_cast<char*>(record + length), room);
        if (written == room)
            return 0;  // no room left for its NUL
        length += written;
        record[length++] = 0;
    }
    if (length > buffer.size())
        return 0;
    std::copy_n(record, length, buffer.begin());
    return length;
}

}  // namespace hh
