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
// "UTF-16BE", "Windows-1252").
std::string Decode(const std::string& bytes, std::string* encoding = nullptr);
// The separator the first line uses most outside quotes, of ',' ';' and tab (',' when none).
char DetectSeparator(std::string_view text);
// Every record of the text; blank lines are skipped. Throws Error for an unterminated quote.
std::vector<Record> Parse(std::string_view text, char separator);

}  // namespace csv
