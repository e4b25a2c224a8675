// The list of imported handheld records.
#include "conduit/sync/ImportLedger.h"

#include <charconv>

#include "dbaccess/CADODataBase.h"

namespace {

constexpr const char* kTable = "HotSyncImports";
constexpr const char* kHandheld = "Handheld";
constexpr const char* kRecords = "Records";

constexpr const char* kCreateTable =
    "CREATE TABLE IF NOT EXISTS HotSyncImports ("
    " ImportKey INTEGER PRIMARY KEY,"
    " Handheld VARCHAR(64) NOT NULL,"  // the handheld's HotSync user name
    " Records TEXT NOT NULL)";         // per record: its unique ID (6 hex digits), its digest (8)

constexpr std::size_t kIDDigits = 6;
constexpr std::size_t kDigestDigits = 8;
constexpr std::size_t kEntryDigits = kIDDigits + kDigestDigits;

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted + "'";
}

void AppendHex(std::string& out, std::uint32_t value, std::size_t digits)
{
    static const char kDigits[] = "0123456789ABCDEF";
    for (std::size_t shift = digits * 4; shift > 0; shift -= 4)
        out += kDigits[(value >> (shift - 4)) & 0xF];
}

std::uint32_t ParseHex(std::string_view text)
{
    std::uint32_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return value;
}

}  // namespace

ImportLedger::ImportLedger(CADODataBase& db, std::string handheld)
    : m_db(db), m_strHandheld(handheld.empty() ? "(no user name)" : std::move(handheld)), m_rows(&db)
{
}

std::string ImportLedger::HandheldCriterion() const { return std::string(kHandheld) + "=" + Quoted(m_strHandheld); }

bool ImportLedger::Open()
{
    if (!m_db.Execute(kCreateTable))
        return false;
    m_rows.m_strFilter = HandheldCriterion();
    if (!m_rows.OpenTable(kTable))
        return false;
    m_entries.clear();
    for (m_rows.MoveFirst(); !m_rows.IsEOF(); m_rows.MoveNext())
        ReadList(m_rows.GetDF_Text(kRecords));
    return true;
}

void ImportLedger::ReadList(const std::string& text)
{
    const std::string_view list = text;
    for (std::size_t at = 0; at + kEntryDigits <= list.size(); at += kEntryDigits)
        m_entries[ParseHex(list.substr(at, kIDDigits))] = {ParseHex(list.substr(at + kIDDigits, kDigestDigits)), false};
}

std::string ImportLedger::ListText() const
{
    std::string list;
    list.reserve(m_entries.size() * kEntryDigits);
    for (const auto& [id, entry] : m_entries) {
        if (!entry.onHandheld)
            continue;  // emptied from the handheld since: nothing to guard against
        AppendHex(list, id, kIDDigits);
        AppendHex(list, entry.digest, kDigestDigits);
    }
    return list;
}

bool ImportLedger::Holds(std::uint32_t recordID, std::uint32_t digest)
{
    const auto entry = m_entries.find(recordID);
    if (entry == m_entries.end() || entry->second.digest != digest)
        return false;
    entry->second.onHandheld = true;
    return true;
}

void ImportLedger::Note(std::uint32_t recordID, std::uint32_t digest)
{
    m_entries[recordID] = {digest, true};  // a record that reuses an imported record's ID replaces it
}

bool ImportLedger::Save()
{
    for (m_rows.MoveFirst(); !m_rows.IsEOF(); m_rows.MoveNext())
        if (!m_rows.Delete())
            return false;
    const std::string list = ListText();
    if (list.empty())
        return true;
    if (!m_rows.AddNew())
        return false;
    if (!m_rows.PutDF_Text(kHandheld, m_strHandheld) || !m_rows.PutDF_Text(kRecords, list)) {
        m_rows.CancelUpdate();
        return false;
    }
    return m_rows.Update();
}

bool ImportLedger::ForgetHandheld()
{
    m_rows.Close();
    m_entries.clear();
    return m_db.Execute(std::string("DELETE FROM ") + kTable + " WHERE " + HandheldCriterion());
}
