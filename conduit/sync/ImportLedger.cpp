// The list of imported handheld records.
#include "conduit/sync/ImportLedger.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "dbaccess/CADODataBase.h"

namespace {

constexpr const char* kTable = "HotSyncImports";
constexpr const char* kHandheld = "Handheld";
constexpr const char* kRecords = "Records";

constexpr const char* kCreateTable =
    "CREATE TABLE IF NOT EXISTS HotSyncImports ("
    " ImportKey INTEGER PRIMARY KEY,"
    " Handheld VARCHAR(64) NOT NULL,"  // "HotSync ID " and the handheld's ID; older rows: its user name
    " Records TEXT NOT NULL)";         // "2;", the expense database's creation date (8 hex digits), ";",
                                       //   then per record: unique ID (6), digest (8), ExpID (8); older
                                       //   rows: no prefix, unique ID and digest only

// Lists that name the row each record made start so; older ones (ID and digest) have no prefix.
constexpr std::string_view kRowsPrefix = "2;";
constexpr std::size_t kIDDigits = 6;
constexpr std::size_t kDigestDigits = 8;
constexpr std::size_t kRowDigits = 8;
constexpr std::size_t kDateDigits = 8;
constexpr const char* kNoUserName = "(no user name)";

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

ImportLedger::ImportLedger(CADODataBase& db, std::uint32_t handheldID, std::string userName,
                           std::uint32_t databaseCreated)
    : m_db(db),
      m_strKey(HandheldKey(handheldID)),
      m_strUserName(userName.empty() ? kNoUserName : std::move(userName)),
      m_dwDatabaseCreated(databaseCreated),
      m_rows(&db)
{
}

std::string ImportLedger::HandheldKey(std::uint32_t handheldID)
{
    char key[32];
    std::snprintf(key, sizeof key, "HotSync ID %08X", static_cast<unsigned>(handheldID));
    return key;
}

bool ImportLedger::Open()
{
    if (!m_db.Execute(kCreateTable))
        return false;
    m_rows.m_strFilter =
        std::string(kHandheld) + "=" + Quoted(m_strKey) + " OR " + kHandheld + "=" + Quoted(m_strUserName);
    if (!m_rows.OpenTable(kTable))
        return false;
    return ReadRows();
}

bool ImportLedger::ReadRows()
{
    m_entries.clear();
    m_byRecordID.clear();
    m_olderLists.clear();
    for (m_rows.MoveFirst(); !m_rows.IsEOF(); m_rows.MoveNext()) {
        const std::string records = m_rows.GetDF_Text(kRecords);
        if (IsOwnRow()) {
            ReadList(records, -1);
        } else if (m_rows.GetDF_Text(kHandheld) == m_strUserName && !records.starts_with(kRowsPrefix)) {
            // Kept before handhelds had IDs: perhaps this handheld's, perhaps another's of that name.
            m_olderLists.push_back({m_rows.GetBookmark(), false});
            ReadList(records, static_cast<int>(m_olderLists.size()) - 1);
        }
    }
    return true;
}

bool ImportLedger::IsOwnRow()
{
    return m_rows.GetDF_Text(kHandheld) == m_strKey && m_rows.GetDF_Text(kRecords).starts_with(kRowsPrefix);
}

void ImportLedger::ReadList(const std::string& text, int list)
{
    std::string_view rest = text;
    const bool rows = rest.starts_with(kRowsPrefix);
    bool otherDatabase = false;
    if (rows) {
        rest.remove_prefix(kRowsPrefix.size());
        otherDatabase = ParseHex(rest.substr(0, kDateDigits)) != m_dwDatabaseCreated;
        rest.remove_prefix(std::min(rest.size(), kDateDigits + 1));
    }
    const std::size_t width = kIDDigits + kDigestDigits + (rows ? kRowDigits : 0);
    for (std::size_t at = 0; at + width <= rest.size(); at += width) {
        Entry entry;
        entry.recordID = ParseHex(rest.substr(at, kIDDigits));
        entry.digest = ParseHex(rest.substr(at + kIDDigits, kDigestDigits));
        if (rows)
            entry.row = static_cast<std::int32_t>(ParseHex(rest.substr(at + kIDDigits + kDigestDigits, kRowDigits)));
        entry.list = list;
        entry.otherDatabase = otherDatabase;
        m_byRecordID.emplace(entry.recordID, m_entries.size());
        m_entries.push_back(entry);
    }
}

ImportLedger::Match ImportLedger::Find(std::uint32_t recordID, std::uint32_t digest)
{
    // The record as it was stored, in this handheld's list or in an older one of its user name.
    const auto [first, last] = m_byRecordID.equal_range(recordID);
    for (auto at = first; at != last; ++at) {
        Entry& entry = m_entries[at->second];
        if (entry.answered || entry.otherDatabase || entry.digest != digest)
            continue;
        entry.answered = entry.onHandheld = true;
        if (entry.list >= 0) {
            m_olderLists[static_cast<std::size_t>(entry.list)].changed = true;
            entry.list = -1;  // this handheld's from now on
        }
        return {Found::Stored, entry.row};
    }
    // Changed on the handheld since: only this handheld's own list knows the row it made.
    for (auto at = first; at != last; ++at) {
        Entry& entry = m_entries[at->second];
        if (entry.answered || entry.otherDatabase || entry.list >= 0 || entry.row == 0)
            continue;
        entry.answered = entry.onHandheld = true;
        return {Found::Changed, entry.row};
    }
    return {};
}

void ImportLedger::Note(std::uint32_t recordID, std::uint32_t digest, std::int32_t row)
{
    const auto [first, last] = m_byRecordID.equal_range(recordID);
    for (auto at = first; at != last; ++at) {
        Entry& entry = m_entries[at->second];
        if (entry.answered && !entry.noted && entry.list < 0) {
            entry.digest = digest;  // the record found Changed, now stored
            entry.row = row;
            entry.noted = true;
            return;
        }
    }
    Entry stored;
    stored.recordID = recordID;
    stored.digest = digest;
    stored.row = row;
    stored.answered = stored.noted = stored.onHandheld = true;
    m_entries.push_back(stored);
}

std::string ImportLedger::ListText(int list) const
{
    std::string text;
    if (list < 0) {
        text = kRowsPrefix;
        AppendHex(text, m_dwDatabaseCreated, kDateDigits);
        text += ';';
    }
    for (const Entry& entry : m_entries) {
        // This handheld's records emptied from it since are left out: nothing to guard against.
        if (entry.list != list || (list < 0 && !entry.onHandheld))
            continue;
        AppendHex(text, entry.recordID, kIDDigits);
        AppendHex(text, entry.digest, kDigestDigits);
        if (list < 0)
            AppendHex(text, static_cast<std::uint32_t>(entry.row), kRowDigits);
    }
    return text;
}

bool ImportLedger::Save()
{
    for (m_rows.MoveFirst(); !m_rows.IsEOF(); m_rows.MoveNext())
        if (IsOwnRow() && !m_rows.Delete())
            return false;
    // The older lists lose what this handheld took over from them; the rest stays theirs.
    for (std::size_t list = 0; list < m_olderLists.size(); ++list) {
        if (!m_olderLists[list].changed)
            continue;
        const std::string left = ListText(static_cast<int>(list));
        if (!m_rows.SetBookmark(m_olderLists[list].bookmark))
            return false;
        if (left.empty() ? !m_rows.Delete() : !m_rows.PutDF_Text(kRecords, left) || !m_rows.Update())
            return false;
    }
    const std::string list = ListText(-1);
    if (list.size() == kRowsPrefix.size() + kDateDigits + 1)
        return true;  // nothing of this handheld's pending
    if (!m_rows.AddNew())
        return false;
    if (!m_rows.PutDF_Text(kHandheld, m_strKey) || !m_rows.PutDF_Text(kRecords, list)) {
        m_rows.CancelUpdate();
        return false;
    }
    return m_rows.Update();
}

bool ImportLedger::ForgetHandheld()
{
    m_rows.Close();
    m_entries.clear();
    m_byRecordID.clear();
    m_olderLists.clear();
    return m_db.Execute(std::string("DELETE FROM ") + kTable + " WHERE " + kHandheld + "=" + Quoted(m_strKey));
}
