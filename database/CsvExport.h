// CsvExport: every expense of a record set, in its order, as a CSV file: twelve fields a line
// (date, type label, category, item, amount, reimbursed mark, project name, status code, vendor,
// account, check number, detail), UTF-8, CR LF line ends, no header. Fields follow RFC 4180:
// item and detail are always quoted, any other field only when it holds a comma, a double quote,
// CR or LF, and a double quote inside a quoted field is doubled. The file is written beside the
// target and put in its place only when complete, so a failed export leaves any old file as it was.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

class CAdoRecordset;
class ExpenseRow;

class CsvExport {
public:
    // Reads the lookups once: type labels, project names and status codes (moving the record
    // sets' current rows). A record set that is not open gives no lookups.
    CsvExport(CAdoRecordset& types, CAdoRecordset& projects, CAdoRecordset& statuses);

    // Writes every row of expenses, from its first to its end, to path, and counts them in
    // pnRows when given. False with the reason in error when the file cannot be written; path
    // is then untouched.
    [[nodiscard]] bool Write(CAdoRecordset& expenses, const std::string& path, std::string& error,
                             long* pnRows = nullptr) const;

    // One line of the file for a row, with its line end; bDateMissing: the row has no date.
    void AppendLine(const ExpenseRow& row, bool bDateMissing, std::string& out) const;
    // A field as the file holds it: quoted when bAlwaysQuoted or when the text needs it.
    static void AppendField(std::string_view text, bool bAlwaysQuoted, std::string& out);

private:
    std::unordered_map<std::int16_t, std::string> m_typeLabels;    // ExpType -> ExpLabel
    std::unordered_map<std::int32_t, std::string> m_projectNames;  // ProjectID -> ProjectName
    std::unordered_map<std::int16_t, std::string> m_statusCodes;   // Status -> StatusCode
};
