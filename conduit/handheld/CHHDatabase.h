// CHHDatabase: a handheld database opened for writing for one step of a synchronisation. It opens
// (or, when missing, creates) the database, empties it, writes new records and closes it; the
// destructor closes it on every path. The five lookup databases derive from it, each adding its
// Open() and one typed write. Failures are the Sync Manager's nonzero results or false; nothing
// here logs.
#pragma once

#include <cstdint>

class CHHDatabase {
public:
    CHHDatabase() = default;
    virtual ~CHHDatabase();
    CHHDatabase(const CHHDatabase&) = delete;
    CHHDatabase& operator=(const CHHDatabase&) = delete;

    // Opens the database on card 0. When it does not exist (0x4003) creates it with creator 'Qlmr',
    // this type and name and all else 0: true when that succeeded (it is then open). Any other
    // result of the open answers true; when it was an error the handle stays 0 and the next
    // operation fails.
    bool OpenOrCreate(const char* pszName, std::uint8_t mode, std::uint32_t type);
    // The Sync Manager's result of removing every record (0 = success).
    std::int32_t RemoveAll();
    // 0x400D when no database is open; else the Sync Manager's result of writing count bytes as a
    // new record (id 0, attributes 0, category 0).
    std::int32_t WriteRecord(std::uint8_t* pBytes, std::uint32_t count);
    // Closes the database when one is open; a second call does nothing.
    void Close();

    std::uint8_t Handle() const { return m_hDB; }

protected:
    std::uint8_t m_hDB = 0;  // the one-byte database handle; 0 when not open
};
