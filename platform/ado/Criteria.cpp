// Reading and evaluating find criteria.
#include "platform/ado/Criteria.h"

#include <bit>
#include <cctype>
#include <charconv>

#include "platform/ado/Error.h"

namespace ado {
namespace {

using ole::VarType;

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int compareFolded(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(fold(a[i]));
        const auto y = static_cast<unsigned char>(fold(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::size_t codePointLength(unsigned char lead)
{
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1;
}

// '*' and '%' match any run of characters, '?' and '_' exactly one.
bool likeMatch(std::string_view text, std::string_view pattern)
{
    std::size_t t = 0, p = 0, starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '%')) {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == '_')) {
            t += codePointLength(static_cast<unsigned char>(text[t]));
            ++p;
        } else if (p < pattern.size() && fold(pattern[p]) == fold(text[t])) {
            ++t;
            ++p;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && (pattern[p] == '*' || pattern[p] == '%'))
        ++p;
    return p == pattern.size();
}

[[noreturn]] void unreadable(std::string_view text, const std::string& why)
{
    throw Error(kInvalidArgument, "Recordset",
                "Arguments are of the wrong type, are out of acceptable range, or are in conflict "
                "with one another. (Criterion \"" + std::string(text) + "\": " + why + ")");
}

}  // namespace

class Criteria::Parser {
public:
    Parser(std::string_view text, const std::vector<FieldInfo>& fields, Criteria& out)
        : m_text(text), m_fields(fields), m_out(out) {}

    void run()
    {
        m_out.m_root = parseOr();
        skipBlanks();
        if (m_at != m_text.size())
            fail("unexpected text at position " + std::to_string(m_at + 1));
    }

private:
    [[noreturn]] void fail(const std::string& why) const { unreadable(m_text, why); }

    void skipBlanks()
    {
        while (m_at < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_at])))
            ++m_at;
    }

    bool keyword(std::string_view word)
    {
        skipBlanks();
        if (m_text.size() - m_at < word.size() || compareFolded(m_text.substr(m_at, word.size()), word) != 0)
            return false;
        const std::size_t end = m_at + word.size();
        if (end < m_text.size() && (std::isalnum(static_cast<unsigned char>(m_text[end])) || m_text[end] == '_'))
            return false;
        m_at = end;
        return true;
    }

    int add(Node node)
    {
        m_out.m_nodes.push_back(std::move(node));
        return static_cast<int>(m_out.m_nodes.size() - 1);
    }

    int parseOr()
    {
        int left = parseAnd();
        while (keyword("OR")) {
            Node node;
            node.kind = Node::Kind::Or;
            node.left = left;
            node.right = parseAnd();
            left = add(std::move(node));
        }
        return left;
    }

    int parseAnd()
    {
        int left = parseFactor();
        while (keyword("AND")) {
            Node node;
            node.kind = Node::Kind::And;
            node.left = left;
            node.right = parseFactor();
            left = add(std::move(node));
        }
        return left;
    }

    int parseFactor()
    {
        skipBlanks();
        if (m_at < m_text.size() && m_text[m_at] == '(') {
            ++m_at;
            const int inner = parseOr();
            skipBlanks();
            if (m_at >= m_text.size() || m_text[m_at] != ')')
                fail("missing ')'");
            ++m_at;
            return inner;
        }
        return parseComparison();
    }

    std::size_t parseColumn()
    {
        skipBlanks();
        std::string name;
        if (m_at < m_text.size() && m_text[m_at] == '[') {
            const std::size_t close = m_text.find(']', m_at);
            if (close == std::string_view::npos)
                fail("missing ']'");
            name = std::string(m_text.substr(m_at + 1, close - m_at - 1));
            m_at = close + 1;
        } else {
            const std::size_t start = m_at;
            while (m_at < m_text.size() &&
                   (std::isalnum(static_cast<unsigned char>(m_text[m_at])) || m_text[m_at] == '_'))
                ++m_at;
            name = std::string(m_text.substr(start, m_at - start));
        }
        if (name.empty())
            fail("a column name is missing");
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            if (compareFolded(m_fields[i].name(), name) == 0)
                return i;
        }
        throw Error(kItemNotFound, "Recordset",
                    "Item cannot be found in the collection corresponding to the requested name "
                    "or ordinal. (Column '" + name + "' in criterion \"" + std::string(m_text) + "\")");
    }

    Op parseOperator()
    {
        skipBlanks();
        const std::string_view rest = m_text.substr(m_at);
        const auto take = [&](std::size_t n, Op op) { m_at += n; return op; };
        if (rest.starts_with("<>") || rest.starts_with("!=")) return take(2, Op::NotEqual);
        if (rest.starts_with("<=")) return take(2, Op::LessEqual);
        if (rest.starts_with(">=")) return take(2, Op::GreaterEqual);
        if (rest.starts_with("=")) return take(1, Op::Equal);
        if (rest.starts_with("<")) return take(1, Op::Less);
        if (rest.starts_with(">")) return take(1, Op::Greater);
        if (keyword("LIKE")) return Op::Like;
        if (keyword("IS")) {
            const bool negated = keyword("NOT");
            if (!keyword("NULL"))
                fail("IS must be followed by NULL or NOT NULL");
            return negated ? Op::IsNotNull : Op::IsNull;
        }
        fail("a comparison operator is missing");
    }

    void parseLiteral(Node& node)
    {
        skipBlanks();
        if (m_at >= m_text.size())
            fail("a value is missing");
        const char c = m_text[m_at];
        if (c == '\'') {
            std::string value;
            ++m_at;
            while (true) {
                if (m_at >= m_text.size())
                    fail("a text value has no closing quote");
                if (m_text[m_at] == '\'') {
                    if (m_at + 1 < m_text.size() && m_text[m_at + 1] == '\'') {
                        value += '\'';
                        m_at += 2;
                        continue;
                    }
                    ++m_at;
                    break;
                }
                value += m_text[m_at++];
            }
            node.literal = LiteralKind::Text;
            node.text = std::move(value);
            return;
        }
        if (c == '#') {
            const std::size_t close = m_text.find('#', m_at + 1);
            if (close == std::string_view::npos)
                fail("a date value has no closing '#'");
            const ole::DateTime date = readDate(m_text.substr(m_at + 1, close - m_at - 1));
            if (!date.isValid())
                fail("the date value cannot be read");
            m_at = close + 1;
            node.literal = LiteralKind::Date;
            node.number = date.days();
            return;
        }
        if (keyword("TRUE")) { node.literal = LiteralKind::Bool; node.number = 1; return; }
        if (keyword("FALSE")) { node.literal = LiteralKind::Bool; node.number = 0; return; }
        if (keyword("NULL")) {
            if (node.op != Op::Equal && node.op != Op::NotEqual)
                fail("NULL can only be compared with = or <>");
            node.op = node.op == Op::Equal ? Op::IsNull : Op::IsNotNull;
            return;
        }
        const std::size_t start = m_at;
        if (m_at < m_text.size() && (m_text[m_at] == '-' || m_text[m_at] == '+'))
            ++m_at;
        while (m_at < m_text.size() && (std::isdigit(static_cast<unsigned char>(m_text[m_at])) || m_text[m_at] == '.'))
            ++m_at;
        std::string digits(m_text.substr(start, m_at - start));
        if (!digits.empty() && digits.front() == '+')
            digits.erase(0, 1);
        double value = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
            fail("the value cannot be read");
        node.literal = LiteralKind::Number;
        node.number = value;
    }

    // ISO "YYYY-MM-DD[ HH:MM:SS]" or "M/D/YYYY".
    static ole::DateTime readDate(std::string_view text)
    {
        const ole::DateTime iso = ole::DateTime::fromIsoText(text);
        if (iso.isValid())
            return iso;
        int parts[3] = {0, 0, 0};
        int index = 0;
        bool digitSeen = false;
        for (const char c : text) {
            if (c >= '0' && c <= '9') {
                parts[index] = parts[index] * 10 + (c - '0');
                digitSeen = true;
                if (parts[index] > 9999)
                    return ole::DateTime::invalid();
            } else if (c == '/' && digitSeen && index < 2) {
                ++index;
                digitSeen = false;
            } else {
                return ole::DateTime::invalid();
            }
        }
        if (index != 2 || !digitSeen)
            return ole::DateTime::invalid();
        return ole::DateTime(parts[2], parts[0], parts[1]);
    }

    void checkSuits(const Node& node) const
    {
        const FieldFamily family = m_fields[node.column].family();
        if (node.op == Op::IsNull || node.op == Op::IsNotNull || family == FieldFamily::Dynamic)
            return;
        const bool textColumn = family == FieldFamily::Text;
        if (node.op == Op::Like && !textColumn)
            fail("LIKE needs a text column");
        if (textColumn && node.literal != LiteralKind::Text)
            fail("column '" + m_fields[node.column].name() + "' holds text");
        if (family == FieldFamily::Date && node.literal == LiteralKind::Bool)
            fail("column '" + m_fields[node.column].name() + "' holds dates");
        if (!textColumn && family != FieldFamily::Date && node.literal == LiteralKind::Text)
            fail("column '" + m_fields[node.column].name() + "' holds numbers");
    }

    int parseComparison()
    {
        Node node;
        node.column = parseColumn();
        node.op = parseOperator();
        if (node.op != Op::IsNull && node.op != Op::IsNotNull)
            parseLiteral(node);
        if (m_fields[node.column].family() == FieldFamily::Date && node.literal == LiteralKind::Text) {
            const ole::DateTime date = readDate(node.text);
            if (!date.isValid())
                fail("the date value cannot be read");
            node.literal = LiteralKind::Date;
            node.number = date.days();
        }
        checkSuits(node);
        return add(std::move(node));
    }

    std::string_view m_text;                 // the criterion being read
    const std::vector<FieldInfo>& m_fields;  // columns it may name
    Criteria& m_out;                         // receives the nodes
    std::size_t m_at = 0;                    // read position
};

Criteria Criteria::parse(std::string_view text, const std::vector<FieldInfo>& fields)
{
    Criteria criteria;
    Parser(text, fields, criteria).run();
    return criteria;
}

bool Criteria::matches(const RowStore& store, std::uint32_t slot) const
{
    return evaluate(m_root, store, slot);
}

bool Criteria::evaluate(int index, const RowStore& store, std::uint32_t slot) const
{
    const Node& node = m_nodes[static_cast<std::size_t>(index)];
    switch (node.kind) {
    case Node::Kind::And: return evaluate(node.left, store, slot) && evaluate(node.right, store, slot);
    case Node::Kind::Or: return evaluate(node.left, store, slot) || evaluate(node.right, store, slot);
    case Node::Kind::Compare: return compareCell(node, store.cell(slot, node.column));
    }
    return false;
}

bool Criteria::compareCell(const Node& node, const RowStore::Cell& cell)
{
    const bool isNull = cell.type == VarType::Null;
    if (node.op == Op::IsNull)
        return isNull;
    if (node.op == Op::IsNotNull)
        return !isNull;
    if (isNull)
        return false;

    int order = 0;
    if (cell.type == VarType::Text) {
        if (node.literal != LiteralKind::Text)
            return false;
        if (node.op == Op::Like)
            return likeMatch(cell.text, node.text);
        order = compareFolded(cell.text, node.text);
    } else {
        if (node.literal == LiteralKind::Text || node.op == Op::Like)
            return false;
        long double value = 0;
        switch (cell.type) {
        case VarType::Double:
        case VarType::Date: value = std::bit_cast<double>(cell.word); break;
        case VarType::Currency: value = static_cast<long double>(cell.word) / ole::Currency::kScale; break;
        default: value = static_cast<long double>(cell.word); break;
        }
        if (node.literal == LiteralKind::Bool && (node.op == Op::Equal || node.op == Op::NotEqual)) {
            const bool truth = value != 0;
            return (truth == (node.number != 0)) == (node.op == Op::Equal);
        }
        const long double literal = node.literal == LiteralKind::Bool ? -node.number : node.number;
        order = value < literal ? -1 : (value > literal ? 1 : 0);
    }
    switch (node.op) {
    case Op::Equal: return order == 0;
    case Op::NotEqual: return order != 0;
    case Op::Less: return order < 0;
    case Op::Greater: return order > 0;
    case Op::LessEqual: return order <= 0;
    case Op::GreaterEqual: return order >= 0;
    default: return false;
    }
}

}  // namespace ado
