// The expense export: lookups read once, one line per row, the file replaced only when complete.
#include "database/CsvExport.h"

#include <cstdio>
#include <system_error>

#include "database/ExpenseRow.h"
#include "database/ExpenseSchema.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/fs/SafeReplace.h"
#include "platform/fs/TemporaryFile.h"
#include "platform/ole/FormatAmount.h"

namespace {

constexpr std::uint32_t kExportedColumns = ExpenseRow::kAllColumns & ~(ExpenseRow::ExpYear | ExpenseRow::TypeComp);
constexpr std::size_t kFlushBytes = 1 << 20;
constexpr std::int16_t kLastSystemType = 9;  // types up to 9 have years, not projects

template <typename Key, typename Read>
void ReadLookup(CAdoRecordset& rs, const char* textColumn, std::unordered_map<Key, std::string>& map, Read readKey)
{
    if (!rs.IsOpen())
        return;
    // The first row of a key wins, as a search from the first row would find it.
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        map.emplace(readKey(rs), rs.GetDF_Text(textColumn));
}

template <typename Map, typename Key>
std::string_view Lookup(const Map& map, Key key)
{
    const auto it = map.find(key);
    return it == map.end() ? std::string_view() : std::string_view(it->second);
}

// "%Y/%m/%d"; an empty field for a date the row does not have, "Invalid DateTime" for one that
// cannot be read.
void AppendDate(const ole::DateTime& date, bool bNull, std::string& out)
{
    const auto parts = date.parts();
    if (!parts) {
        out += bNull ? "" : "Invalid DateTime";
        return;
    }
    char text[16];
    const int n = std::snprintf(text, sizeof text, "%04d/%02d/%02d", parts->year, parts->month, parts->day);
    out.append(text, static_cast<std::size_t>(n));
}

}  // namespace

CsvExport::CsvExport(CAdoRecordset& types, CAdoRecordset& projects, CAdoRecordset& statuses)
{
    using namespace schema;
    ReadLookup(types, types::kExpLabel, m_typeLabels, [](CAdoRecordset& rs) { return rs.GetDF_Short(types::kExpType); });
    ReadLookup(projects, projects::kProjectName, m_projectNames,
               [](CAdoRecordset& rs) { return rs.GetDF_Long(projects::kProjectID); });
    ReadLookup(statuses, statuses::kStatusCode, m_statusCodes,
               [](CAdoRecordset& rs) { return rs.GetDF_Short(statuses::kStatus); });
}

void CsvExport::AppendField(std::string_view text, bool bAlwaysQuoted, std::string& out)
{
    if (!bAlwaysQuoted && text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        out += c;
        if (c == '"')
            out += '"';
    }
    out += '"';
}

void CsvExport::AppendLine(const ExpenseRow& row, bool bDateMissing, std::string& out) const
{
    AppendDate(row.m_dtDate, bDateMissing, out);
    out += ',';
    AppendField(Lookup(m_typeLabels, row.m_nExpType), false, out);
    out += ',';
    AppendField(row.m_strExpCat, false, out);
    out += ',';
    AppendField(row.m_strItem, true, out);
    out += ',';
    AppendField(FormatAmount(row.m_cyAmount), false, out);
    out += row.m_bReimburse ? ",R," : ",,";
    if (row.m_nExpType > kLastSystemType)
        AppendField(Lookup(m_projectNames, row.m_lProjectID), false, out);
    out += ',';
    if (row.m_bReimburse && row.m_nStatus)
        AppendField(Lookup(m_statusCodes, *row.m_nStatus), false, out);
    out += ',';
    AppendField(row.m_strVendor, false, out);
    out += ',';
    AppendField(row.m_strAcctCode, false, out);
    out += ',';
    AppendField(row.m_strChkNbr, false, out);
    out += ',';
    AppendField(row.m_strDetail, true, out);
    out += "\r\n";
}

bool CsvExport::Write(CAdoRecordset& expenses, const std::string& path, std::string& error, long* pnRows) const
{
    long rows = 0;
    if (!expenses.IsOpen()) {
        error = "The expenses are not open.";
        return false;
    }
    const auto write = [&](const files::TemporaryFile& file) {
        std::string buffer;
        buffer.reserve(kFlushBytes + 4096);
        const auto flush = [&] {
            file.write({reinterpret_cast<const std::uint8_t*>(buffer.data()), buffer.size()});
            buffer.clear();
        };
        for (expenses.MoveFirst(); !expenses.IsEOF(); expenses.MoveNext()) {
            const ExpenseRow row = ExpenseRow::Read(expenses, kExportedColumns);
            // A missing date reads as an invalid one; only its text tells them apart.
            const bool dateMissing = !row.m_dtDate.isValid() && expenses.GetDF_Text(schema::expenses::kExpDate).empty();
            AppendLine(row, dateMissing, buffer);
            ++rows;
            if (buffer.size() >= kFlushBytes)
                flush();
        }
        flush();
    };
    try {
        if (!files::SafeReplace::replace(path, write, error))
            return false;
        if (pnRows)
            *pnRows = rows;
        return true;
    } catch (const std::system_error& failure) {
        error = failure.what();
        return false;
    }
}
