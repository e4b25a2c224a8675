// Sorting a snapshot's slots. Each key cell becomes two words that order as the cells do (its
// kind, then an order-keeping code of its value), so most comparisons are a few integer compares
// over one compact entry; texts that agree in their first eight bytes are compared whole.
#include "platform/ado/SnapshotSort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "platform/ado/RowStore.h"

namespace ado {
namespace {

using ole::VarType;

constexpr std::size_t kInlineKeys = 4;  // keys held in an entry; more take the general path

// How a column's numbers are coded: as exact integers (currency: scaled ones), or as doubles. A
// column that holds two of these takes the general path.
enum class NumberCode { None, Integer, Currency, Real };

NumberCode codeOf(VarType type)
{
    switch (type) {
    case VarType::Bool:
    case VarType::Byte:
    case VarType::Short:
    case VarType::Long:
    case VarType::BigInt: return NumberCode::Integer;
    case VarType::Currency: return NumberCode::Currency;
    case VarType::Double:
    case VarType::Date: return NumberCode::Real;
    default: return NumberCode::None;
    }
}

struct Entry {
    std::array<std::uint64_t, 2 * kInlineKeys> code;  // per key: kind, then value code
    std::int64_t rowId;
    std::uint32_t slot;
    std::array<std::uint8_t, kInlineKeys> textLength;  // per text key: its bytes, up to 255
};

std::uint64_t textPrefix(std::string_view text)
{
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i)
        prefix = (prefix << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
    return prefix;
}

std::uint64_t realCode(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value == 0.0 ? 0.0 : value);  // -0 sorts as 0
    return (bits >> 63) ? ~bits : bits | (std::uint64_t(1) << 63);
}

// The pair of words of one cell; kind 0 null, 1 number, 2 text.
std::pair<std::uint64_t, std::uint64_t> codeCell(const RowStore::Cell& cell)
{
    if (cell.type == VarType::Null)
        return {0, 0};
    if (cell.type == VarType::Text)
        return {2, textPrefix(cell.text)};
    if (codeOf(cell.type) == NumberCode::Real)
        return {1, realCode(std::bit_cast<double>(cell.word))};
    return {1, static_cast<std::uint64_t>(cell.word) ^ (std::uint64_t(1) << 63)};
}

void sortGeneral(const RowStore& store, std::vector<std::uint32_t>& order, const SortColumns& keys)
{
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        for (const auto& [column, descending] : keys) {
            const int c = store.compare(a, b, column);
            if (c != 0)
                return descending ? c > 0 : c < 0;
        }
        return store.rowId(a) < store.rowId(b);
    });
}

// False, with order untouched, when a column holds numbers of two codings.
bool sortCoded(const RowStore& store, std::vector<std::uint32_t>& order, const SortColumns& keys)
{
    if (keys.size() > kInlineKeys)
        return false;
    std::vector<Entry> entries(order.size());
    std::array<NumberCode, kInlineKeys> seen{};
    for (std::size_t i = 0; i < order.size(); ++i) {
        Entry& entry = entries[i];
        entry.slot = order[i];
        entry.rowId = store.rowId(order[i]);
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const RowStore::Cell cell = store.cell(order[i], keys[k].first);
            const NumberCode code = codeOf(cell.type);
            if (code != NumberCode::None && code != seen[k]) {
                if (seen[k] != NumberCode::None)
                    return false;
                seen[k] = code;
            }
            std::tie(entry.code[2 * k], entry.code[2 * k + 1]) = codeCell(cell);
            entry.textLength[k] = static_cast<std::uint8_t>(std::min<std::size_t>(cell.text.size(), 255));
        }
    }
    const auto compareKey = [&](const Entry& a, const Entry& b, std::size_t k) {
        for (std::size_t w = 2 * k; w < 2 * k + 2; ++w)
            if (a.code[w] != b.code[w])
                return a.code[w] < b.code[w] ? -1 : 1;
        if (a.code[2 * k] != 2)
            return 0;
        // Texts equal in their first eight bytes: within them, the shorter one sorts first.
        const std::uint8_t lengthA = a.textLength[k];
        const std::uint8_t lengthB = b.textLength[k];
        if (lengthA <= 8 && lengthB <= 8)
            return lengthA == lengthB ? 0 : (lengthA < lengthB ? -1 : 1);
        return RowStore::compareCells(store.cell(a.slot, keys[k].first), store.cell(b.slot, keys[k].first));
    };
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        for (std::size_t k = 0; k < keys.size(); ++k) {
            const int c = compareKey(a, b, k);
            if (c != 0)
                return keys[k].second ? c > 0 : c < 0;
        }
        return a.rowId < b.rowId;
    });
    for (std::size_t i = 0; i < entries.size(); ++i)
        order[i] = entries[i].slot;
    return true;
}

}  // namespace

void sortSlots(const RowStore& store, std::vector<std::uint32_t>& order, const SortColumns& keys)
{
    if (keys.empty())
        std::sort(order.begin(), order.end());
    else if (!sortCoded(store, order, keys))
        sortGeneral(store, order, keys);
}

}  // namespace ado
