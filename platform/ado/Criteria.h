// A find criterion read once and evaluated against snapshot rows: comparisons of a column with
// a literal (= <> < > <= >= LIKE, IS NULL), joined by AND and OR, with parentheses. Literals are
// numbers, 'text' (a doubled quote stands for one), TRUE, FALSE, NULL and #date#.
// Text comparisons ignore ASCII letter case, as the lookup-key rules of the database do.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/RowStore.h"

namespace ado {

class Criteria {
public:
    // Throws Error(kInvalidArgument) for text it cannot read or a literal that does not suit
    // its column, Error(kItemNotFound) for a column the record set does not have.
    static Criteria parse(std::string_view text, const std::vector<FieldInfo>& fields);

    bool matches(const RowStore& store, std::uint32_t slot) const;

private:
    enum class Op : std::uint8_t { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like, IsNull, IsNotNull };
    enum class LiteralKind : std::uint8_t { None, Number, Text, Bool, Date };

    struct Node {
        enum class Kind : std::uint8_t { And, Or, Compare } kind = Kind::Compare;
        int left = -1;                    // child nodes of And / Or
        int right = -1;
        std::size_t column = 0;           // compared column
        Op op = Op::Equal;                // comparison
        LiteralKind literal = LiteralKind::None;
        long double number = 0;           // Number and Bool (1/0) literals; Date literals as days
        std::string text;                 // Text literals
    };

    class Parser;
    bool evaluate(int node, const RowStore& store, std::uint32_t slot) const;
    static bool compareCell(const Node& node, const RowStore::Cell& cell);

    std::vector<Node> m_nodes;  // the expression tree; m_root indexes it
    int m_root = -1;
};

}  // namespace ado
