// JetSource: the tables of an Access (Jet) database as typed rows, whatever reads them: the
// file reader over libmdb (MdbSource) or rows a test makes. Values keep what the file stored:
// currency exactly, dates as the stored day count, texts in UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace jet {

// A file that cannot be read as it claims (damaged, truncated, not what its header says).
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ColumnType { Boolean, Byte, Integer, LongInteger, Currency, Single, Double, DateTime, Text, Memo, Other };

struct Column {
    std::string name;
    ColumnType type = ColumnType::Other;
};

struct Value {
    enum class Kind { Null, Boolean, Integer, Currency, Real, DateTime, Text, Other };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;  // Boolean (0 or 1), Integer, Currency (the amount x 10,000)
    double real = 0;           // Real; DateTime: days since 1899-12-30, the fraction the time
    std::string text;          // Text (UTF-8)

    static Value Boolean(bool value) { return {Kind::Boolean, value ? 1 : 0, 0, {}}; }
    static Value Integer(std::int64_t value) { return {Kind::Integer, value, 0, {}}; }
    static Value Currency(std::int64_t scaled) { return {Kind::Currency, scaled, 0, {}}; }
    static Value Real(double value) { return {Kind::Real, 0, value, {}}; }
    static Value DateTime(double days) { return {Kind::DateTime, 0, days, {}}; }
    static Value Text(std::string value) { return {Kind::Text, 0, 0, std::move(value)}; }
};

class TableReader {
public:
    virtual ~TableReader() = default;
    virtual const std::vector<Column>& Columns() const = 0;
    // The next row, one value per column; false after the last. Throws Error when the table
    // cannot be read to its end.
    virtual bool Next(std::vector<Value>& row) = 0;
};

class Source {
public:
    virtual ~Source() = default;
    virtual std::vector<std::string> TableNames() const = 0;
    // The named table (as TableNames gives it). Throws Error when it cannot be read.
    virtual std::unique_ptr<TableReader> OpenTable(const std::string& name) = 0;
};

}  // namespace jet
