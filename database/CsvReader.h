// CsvReader: the records of a CSV file as texts, with the file line each record starts on. The
// bytes are decoded first: UTF-8 (with or without a byte-order mark), UTF-16 with a byte-order
// mark, or, when the bytes are not UTF-8, Windows-1252. Fields follow RFC 4180 with the given
// separator; a record may span lines inside quotes. A file that cannot be read so is refused
// with the line and the reason.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace csv {

class Error : public std::runtime_error {
public:
    // unit: what the number counts ("line", or "transaction" for an OFX statement).
    Error(long line, const std::string& reason, const char* unit = "line")
        : std::runtime_error(std::string(unit) + " " + std::to_string(line) + ": " + reason), m_line(line) {}
    long Line() const { return m_line; }

private:
    long m_line;
};

struct Record {
    long line = 0;                    // the file line it starts on, from 1
    std::vector<std::string> fields;  // UTF-8
};

// The text of the file's bytes in UTF-8; "encoding" names what was read ("UTF-8", "UTF-16LE",
// "UTF-16BE", "Windows-1252"). Bytes moved in that are UTF-8 already become the text uncopied.
std::string Decode(std::string bytes, std::string* encoding = nullptr);
// The separator the first line uses most outside quotes, of ',' ';' and tab (',' when none).
char DetectSeparator(std::string_view text);
// The records of a text one at a time; blank lines are skipped.
class Reader {
public:
    Reader(std::string_view text, char separator) : m_text(text), m_separator(separator) {}
    // Reads the next record into record, reusing its strings; false after the last. Throws Error
    // for an unterminated quote.
    bool Next(Record& record);

private:
    bool EndsLine(std::size_t at) const;
    void SkipLineEnd();
    void ReadQuoted(std::string& field, long recordLine);

    std::string_view m_text;  // not owned
    char m_separator;
    std::size_t m_at = 0;     // where the next record starts (or blank lines before it)
    long m_line = 1;          // the file line at m_at
};

// Every record of the text; blank lines are skipped. Throws Error for an unterminated quote.
std::vector<Record> Parse(std::string_view text, char separator);

}  // namespace csv
