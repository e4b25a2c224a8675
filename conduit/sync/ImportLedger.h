// ImportLedger: which records of a handheld's "Qlmr-Expenses" are in the desktop database
// already, and as which row. The import notes every record it stores and saves the notes inside
// its own transaction, so a sync that stopped after its commit and before the handheld was
// emptied (killed, or the emptying failed) imports nothing twice when it runs again: it skips the
// records stored as they are, stores a record changed on the handheld since over the row it made,
// and empties the handheld.
//
// Kept in the desktop table HotSyncImports, which the sync creates when missing and which nothing
// else reads: per handheld (its HotSync ID, which tells apart handhelds whatever their user
// names) one row listing the imported records, each by its unique ID, a digest of its bytes and
// the ExpID of its row, with the creation date of the expense database they came from (unique
// IDs are a database's own: one made anew may give an old ID to another expense). Records no
// longer on the handheld leave the list at the next import; a completed sync forgets the
// handheld's list. Rows written before handhelds had IDs are keyed by
// the user name and list no rows: a handheld of that name takes over the records it still holds
// unchanged and leaves the rest, which may be another handheld's.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "dbaccess/CAdoRecordset.h"

class CADODataBase;

class ImportLedger {
public:
    // databaseCreated: the creation date of the handheld's expense database.
    ImportLedger(CADODataBase& db, std::uint32_t handheldID, std::string userName, std::uint32_t databaseCreated);

    // Creates the table when missing and reads this handheld's list (and the older lists of its
    // user name). Run inside the import's transaction. False when the table cannot be read.
    [[nodiscard]] bool Open();

    enum class Found {
        New,       // not stored before (or its row is unknown): store it as a new row
        Stored,    // stored before as it is now: skip it
        Changed,   // stored before, changed on the handheld since: store it over row
    };
    struct Match {
        Found found = Found::New;
        std::int32_t row = 0;  // Changed: the ExpID of the row it made
    };
    // What became of this record before; a record found Stored or Changed counts as still on the
    // handheld. Each listed record answers once, so two records with one ID are never one row.
    Match Find(std::uint32_t recordID, std::uint32_t digest);
    // Notes a record stored now, as row (a new one, or the one Find named).
    void Note(std::uint32_t recordID, std::uint32_t digest, std::int32_t row);

    // Stores the list: the records stored now and those stored before that are still on the
    // handheld. Run inside the import's transaction; false when it could not be stored.
    [[nodiscard]] bool Save();
    // After the handheld was emptied: no record of it is pending any more.
    [[nodiscard]] bool ForgetHandheld();

    // The key of a handheld's rows.
    static std::string HandheldKey(std::uint32_t handheldID);

private:
    struct Entry {
        std::uint32_t recordID = 0;
        std::uint32_t digest = 0;   // of the record's bytes as stored
        std::int32_t row = 0;       // ExpID of its row; 0 when unknown (older lists)
        int list = -1;              // the older list it came from; -1 for this handheld's
        bool otherDatabase = false; // from an expense database the handheld no longer has
        bool answered = false;      // Find has answered for it in this import
        bool noted = false;         // stored in this import (Note)
        bool onHandheld = false;    // still on the handheld (or stored) in this import
    };
    struct OlderList {
        ole::Variant bookmark;      // its row in m_rows
        bool changed = false;       // entries were taken from it
    };

    [[nodiscard]] bool ReadRows();
    // Whether the row the record set stands on is this handheld's list.
    [[nodiscard]] bool IsOwnRow();
    void ReadList(const std::string& text, int list);
    std::string ListText(int list) const;

    CADODataBase& m_db;                  // the desktop database
    std::string m_strKey;                // this handheld's key
    std::string m_strUserName;           // the key of its user name's older lists
    std::uint32_t m_dwDatabaseCreated;   // creation date of the expense database read now
    CAdoRecordset m_rows;                // this handheld's rows and its user name's older ones
    std::vector<Entry> m_entries;        // every listed record and every one stored now
    std::unordered_multimap<std::uint32_t, std::size_t> m_byRecordID;  // listed ones, by unique ID
    std::vector<OlderList> m_olderLists; // the user name's older lists
};
