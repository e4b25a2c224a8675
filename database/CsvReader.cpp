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

std::string Decode(const std::string& bytes, std::string* encoding)
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
    const std::string_view body = view.substr(0, 3) == "\xEF\xBB\xBF" ? view.substr(3) : view;
    for (std::size_t i = 0; i < body.size();) {
        const std::size_t length = Utf8Length(body, i);
        if (length == 0) {
            named("Windows-1252");
            return FromWindows1252(body);
        }
        i += length;
    }
    named("UTF-8");
    return std::string(body);
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

std::vector<Record> Parse(std::string_view text, char separator)
{
    std::vector<Record> records;
    Record record;
    std::string field;
    long line = 1;
    bool quoted = false, fieldStarted = false, any = false;
    const auto endField = [&] {
        record.fields.push_back(std::move(field));
        field.clear();
        fieldStarted = false;
    };
    const auto endRecord = [&] {
        endField();
        if (any)
            records.push_back(std::move(record));
        record = Record();
        any = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!any) {
            record.line = line;
        }
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                line += c == '\n';
                field += c;
            }
            continue;
        }
        if (c == '"' && !fieldStarted && field.empty()) {
            quoted = fieldStarted = any = true;
        } else if (c == separator) {
            any = true;
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endRecord();
            ++line;
        } else {
            field += c;
            fieldStarted = any = true;
        }
    }
    if (quoted)
        throw Error(record.line, "a quoted field is not closed");
    endRecord();
    return records;
}

}  // namespace csv
