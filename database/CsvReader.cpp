// Decoding and splitting CSV files.
#include "database/CsvReader.h"

#include <algorithm>
#include <array>

#include "platform/ole/Utf8.h"

namespace csv {

namespace {


// The length of the valid UTF-8 sequence at text[i], or 0.
std::size_t Utf8Length(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size() || (lead >= 0x80 && lead < 0xC2))
        return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    return length;
}

long LineAt(std::string_view text, std::size_t end)
{
    long line = 1;
    for (std::size_t i = 0; i < end && i < text.size(); ++i)
        line += text[i] == '\n';
    return line;
}

std::string FromUtf16(std::string_view bytes, bool bigEndian)
{
    if (bytes.size() % 2)
        throw Error(LineAt({}, 0), "the file ends inside a UTF-16 character");
    std::string out;
    long line = 1;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = [&](std::size_t k) -> char16_t {
            const auto hi = static_cast<unsigned char>(bytes[k + (bigEndian ? 0 : 1)]);
            const auto lo = static_cast<unsigned char>(bytes[k + (bigEndian ? 1 : 0)]);
            return static_cast<char16_t>(hi << 8 | lo);
        };
        char32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c < 0xE000) {
            throw Error(line, "the text is not valid UTF-16");
        }
        line += c == '\n';
        ole::AppendUtf8(out, c);
    }
    return out;
}

// Windows-1252's 0x80-0x9F; 0 where the code page has no character.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::string FromWindows1252(std::string_view bytes)
{
    std::string out;
    long line = 1;
    for (const char b : bytes) {
        const auto c = static_cast<unsigned char>(b);
        line += c == '\n';
        if (c >= 0x80 && c < 0xA0 && kHighControls[c - 0x80] == 0)
            throw Error(line, "the text is neither UTF-8 nor Windows-1252 (byte 0x" +
                                  std::string(1, "0123456789ABCDEF"[c >> 4]) + "0123456789ABCDEF"[c & 15] + ")");
        ole::AppendUtf8(out, c >= 0x80 && c < 0xA0 ? kHighControls[c - 0x80] : c);
    }
    return out;
}

}  // namespace

std::string Decode(std::string bytes, std::string* encoding)
{
    const auto named = [encoding](const char* name) {
        if (encoding)
            *encoding = name;
    };
    const std::string_view view(bytes);
    if (view.substr(0, 2) == "\xFF\xFE") {
        named("UTF-16LE");
        return FromUtf16(view.substr(2), false);
    }
    if (view.substr(0, 2) == "\xFE\xFF") {
        named("UTF-16BE");
        return FromUtf16(view.substr(2), true);
    }
    const std::size_t bom = view.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    const std::string_view body = view.substr(bom);
    for (std::size_t i = 0; i < body.size();) {
        if (static_cast<unsigned char>(body[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = Utf8Length(body, i);
        if (length == 0) {
            named("Windows-1252");
            return FromWindows1252(body);
        }
        i += length;
    }
    named("UTF-8");
    bytes.erase(0, bom);
    return bytes;
}

char DetectSeparator(std::string_view text)
{
    std::array<int, 3> counts{};
    const std::string_view separators = ",;\t";
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\n' || c == '\r'))
            break;
        else if (!quoted && separators.find(c) != std::string_view::npos)
            ++counts[separators.find(c)];
    }
    const auto most = std::max_element(counts.begin(), counts.end()) - counts.begin();
    return counts[static_cast<std::size_t>(most)] > 0 ? separators[static_cast<std::size_t>(most)] : ',';
}

bool Reader::EndsLine(std::size_t at) const { return m_text[at] == '\r' || m_text[at] == '\n'; }

void Reader::SkipLineEnd()
{
    m_at += m_text[m_at] == '\r' && m_at + 1 < m_text.size() && m_text[m_at + 1] == '\n' ? 2 : 1;
    ++m_line;
}

void Reader::ReadQuoted(std::string& field, long recordLine)
{
    for (++m_at;;) {
        const std::size_t quote = m_text.find('"', m_at);
        if (quote == std::string_view::npos)
            throw Error(recordLine, "a quoted field is not closed");
        const std::string_view run = m_text.substr(m_at, quote - m_at);
        m_line += static_cast<long>(std::count(run.begin(), run.end(), '\n'));
        field.append(run);
        m_at = quote + 1;
        if (m_at == m_text.size() || m_text[m_at] != '"')
            return;
        field += '"';  // a doubled quote stands for one
        ++m_at;
    }
}

bool Reader::Next(Record& record)
{
    // Whole runs of plain text are appended at once, into the record's own strings: a byte at a
    // time, and a new string per field, made this the slowest step of a large import.
    const std::size_t size = m_text.size();
    while (m_at < size && EndsLine(m_at))  // blank lines
        SkipLineEnd();
    if (m_at == size)
        return false;
    record.line = m_line;
    std::size_t count = 0;
    const auto nextField = [&]() -> std::string& {
        if (count == record.fields.size())
            record.fields.emplace_back();
        std::string& field = record.fields[count++];
        field.clear();
        return field;
    };
    for (;;) {
        std::string& field = nextField();
        if (m_text[m_at] == '"')
            ReadQuoted(field, record.line);
        // Unquoted text, or what follows a closing quote, runs to the separator or the line's end.
        const std::size_t start = m_at;
        while (m_at < size && m_text[m_at] != m_separator && !EndsLine(m_at))
            ++m_at;
        field.append(m_text.substr(start, m_at - start));
        if (m_at == size || m_text[m_at] != m_separator)
            break;
        if (++m_at == size) {  // a separator last in the text ends an empty field
            nextField();
            break;
        }
    }
    record.fields.resize(count);
    if (m_at < size)
        SkipLineEnd();
    return true;
}

std::vector<Record> Parse(std::string_view text, char separator)
{
    std::vector<Record> records;
    Reader reader(text, separator);
    for (Record record; reader.Next(record);)
        records.push_back(record);
    return records;
}

}  // namespace csv
