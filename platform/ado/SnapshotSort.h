// Ordering the rows of a snapshot by some of its columns, as the engine's ORDER BY would (nulls
// first, numbers by value, texts byte-wise), equal rows by row id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace ado {

class RowStore;

using SortColumns = std::vector<std::pair<std::size_t, bool>>;  // (column, descending)

// Orders the slots (none given: by slot).
void sortSlots(const RowStore& store, std::vector<std::uint32_t>& order, const SortColumns& keys);

}  // namespace ado
