// ImportLedger: which records of a handheld's "Qlmr-Expenses" are in the desktop database
// already. The import notes every record it stores and saves the notes inside its own
// transaction, so a sync that stopped after its commit and before the handheld was emptied
// (killed, or the emptying failed) imports nothing twice when it runs again: it skips those
// records and empties the handheld.
//
// Kept in the desktop table HotSyncImports, which the sync creates when missing and which nothing
// else reads: per handheld (its HotSync user name) one row listing the imported records, each by
// its unique ID and a digest of its bytes (so a record that reuses the ID of another is not taken
// for it). Records no longer on the handheld leave the list at the next import; a completed sync
// forgets the handheld's list.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "dbaccess/CAdoRecordset.h"

class CADODataBase;

class ImportLedger {
public:
    ImportLedger(CADODataBase& db, std::string handheld);

    // Creates the table when missing and reads this handheld's list. Run inside the import's
    // transaction. False when the table cannot be read.
    bool Open();
    // Whether this record was imported already; notes that it is still on the handheld.
    bool Holds(std::uint32_t recordID, std::uint32_t digest);
    // Notes a record imported now.
    void Note(std::uint32_t recordID, std::uint32_t digest);
    // Stores the list: the records imported now and those imported before that are still on the
    // handheld. Run inside the import's transaction; false when it could not be stored.
    bool Save();
    // After the handheld was emptied: no record of it is pending any more.
    bool ForgetHandheld();

private:
    struct Entry {
        std::uint32_t digest = 0;  // digest of the imported record's bytes
        bool onHandheld = false;   // still on the handheld in this import
    };

    std::string HandheldCriterion() const;
    std::string ListText() const;
    void ReadList(const std::string& text);

    CADODataBase& m_db;                                   // the desktop database
    std::string m_strHandheld;                            // the handheld's user name
    CAdoRecordset m_rows;                                 // this handheld's rows
    std::unordered_map<std::uint32_t, Entry> m_entries;   // by unique ID
};
