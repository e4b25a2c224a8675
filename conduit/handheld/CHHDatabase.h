// CHHDatabase: a handheld database opened for writing for one step of a synchronisation. It opens
// (or, when missing, creates) the database, empties it, writes new records and closes it. The
// step closes it explicitly and checks the result, since closing is what saves the records; the
// destructor closes it too, as a backstop on the paths that already failed. A database the open
// found damaged can be replaced by a new, empty one. The five lookup databases derive from it,
// each adding its Open() and one typed write. Failures are the Sync Manager's nonzero results or
// false; nothing here logs.
#pragma once

#include <cstdint>
#include <string>

class CHHDatabase {
public:
    CHHDatabase() = default;
    virtual ~CHHDatabase();
    CHHDatabase(const CHHDatabase&) = delete;
    CHHDatabase& operator=(const CHHDatabase&) = delete;

    // Opens the database on card 0. When it does not exist (0x4003) creates it with creator 'Qlmr',
    // this type and name and all else 0: true when that succeeded (it is then open). Any other
    // result of the open answers true; when it was an error the handle stays 0 and the next
    // operation fails. OpenResult() keeps the answer.
    [[nodiscard]] bool OpenOrCreate(const char* pszName, std::uint8_t mode, std::uint32_t type);
    // The Sync Manager's answer to the last open or creation (0 once the database is open).
    [[nodiscard]] std::int32_t OpenResult() const { return m_lOpenResult; }
    // Whether the last open refused the database as damaged (0x4004).
    [[nodiscard]] bool IsDamaged() const;
    // When the last open found the database damaged: deletes it and creates it anew under the same
    // name and type, empty and open. 0, or the Sync Manager's code of the deletion or creation
    // that failed. Does nothing (0) otherwise.
    [[nodiscard]] std::int32_t ReplaceDamaged();
    // The Sync Manager's result of removing every record (0 = success).
    [[nodiscard]] std::int32_t RemoveAll();
    // 0x400D when no database is open; else the Sync Manager's result of writing count bytes as a
    // new record (id 0, attributes 0, category 0).
    [[nodiscard]] std::int32_t WriteRecord(std::uint8_t* pBytes, std::uint32_t count);
    // Closes the database when one is open, which saves what was written: 0, or the Sync
    // Manager's code when the close (the save) failed. The handle is 0 afterwards either way; a
    // second call does nothing and answers 0.
    [[nodiscard]] std::int32_t Close();

    std::uint8_t Handle() const { return m_hDB; }
    // The name given to the last OpenOrCreate.
    const std::string& Name() const { return m_strName; }

protected:
    std::uint8_t m_hDB = 0;  // the one-byte database handle; 0 when not open

private:
    [[nodiscard]] std::int32_t Create();

    std::int32_t m_lOpenResult = 0;  // the Sync Manager's answer to the last open or creation
    std::string m_strName;           // the database last opened
    std::uint32_t m_dwType = 0;      // its type, for a creation
};
