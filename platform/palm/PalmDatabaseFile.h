// PalmDatabaseFile: one Palm OS database held in memory and the file it lives in on a handheld
// directory. A record database is a .pdb file, a resource database a .prc file; both share the
// 78-byte header below and differ only in the ResDB attribute and the size of the index entries.
// Parse checks every offset and size against the length of the bytes before using it and refuses
// what a careful reader refuses; Serialize lays the blocks out in index order behind the 2-byte
// gap; Save writes a temporary file beside the target and renames it into place, so a reader
// never sees a half-written database.
//
// Database header (all multi-byte fields big-endian):
//
//   OFFSET  SIZE  DESCRIPTION
//        0    32  name, NUL-terminated and NUL-padded (at most 31 bytes)
//       32     2  attributes (kAttr... below)
//       34     2  version of the data layout (the application's own)
//       36     4  creation date, seconds since 1904-01-01
//       40     4  modification date, seconds since 1904-01-01
//       44     4  last backup date, seconds since 1904-01-01 (0 = never)
//       48     4  modification number
//       52     4  file offset of the AppInfo block, 0 = none
//       56     4  file offset of the SortInfo block, 0 = none
//       60     4  type (four-character code)
//       64     4  creator (four-character code)
//       68     4  unique ID seed (new record IDs are taken above it; low 24 bits used)
//       72     4  next record list ID, always 0
//       76     2  number of index entries N
//       78   N*E  index: E = 8 for records, 10 for resources (below)
//  78+N*E     2  gap, written as 00 00, never relied on when reading
//
// Record index entry (PDB):         Resource index entry (PRC):
//   OFFSET  SIZE  DESCRIPTION          OFFSET  SIZE  DESCRIPTION
//        0     4  file offset of data       0     4  type (four-character code)
//        4     1  attributes                4     2  id
//        5     3  unique ID (never 0)       6     4  file offset of data
//
// No block stores its length: AppInfo runs to SortInfo, else to the first record, else to the
// end of the file; SortInfo runs to the first record or the end; record i runs to record i+1 and
// the last one to the end of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/palm/RecordAttributes.h"

namespace palm {

inline constexpr std::size_t kHeaderSize = 78;          // database header + record-list header
inline constexpr std::size_t kNameSize = 32;            // name field, NUL included
inline constexpr std::size_t kMaxNameLength = 31;       // bytes of a name before its NUL
inline constexpr std::size_t kRecordEntrySize = 8;      // one PDB index entry
inline constexpr std::size_t kResourceEntrySize = 10;   // one PRC index entry
inline constexpr std::size_t kGapSize = 2;              // the two bytes after the index
inline constexpr std::size_t kMaxEntries = 0xFFFF;      // the entry count is 16-bit
inline constexpr std::size_t kMaxRecordSize = 0xFFFF;   // a handheld chunk is below 64 KB
inline constexpr std::uint32_t kMaxUniqueID = 0xFFFFFF; // unique IDs are 24-bit
inline constexpr std::uint32_t kFirstSeed = 0x004000;   // IDs below 0x2000 belong to ROM data

// Header attributes.
inline constexpr std::uint16_t kAttrResDB = 0x0001;     // resource database (PRC)
inline constexpr std::uint16_t kAttrReadOnly = 0x0002;
inline constexpr std::uint16_t kAttrAppInfoDirty = 0x0004;
inline constexpr std::uint16_t kAttrBackup = 0x0008;    // back up when no conduit handles it
inline constexpr std::uint16_t kAttrOpen = 0x8000;      // not closed properly; never written

struct PalmDatabaseHeader {
    std::string name;                     // database name, at most 31 bytes
    std::uint16_t attributes = 0;         // kAttr... bits
    std::uint16_t version = 0;            // application-defined layout version
    std::uint32_t creationDate = 0;       // seconds since 1904
    std::uint32_t modificationDate = 0;   // seconds since 1904
    std::uint32_t lastBackupDate = 0;     // seconds since 1904, 0 = never backed up
    std::uint32_t modificationNumber = 0; // raised whenever the database is saved changed
    std::uint32_t type = 0;               // four-character type code
    std::uint32_t creator = 0;            // four-character creator code
    std::uint32_t uniqueIDSeed = 0;       // at least the largest record ID issued
};

struct PalmRecord {
    std::uint8_t attributes = 0;          // kRecAttr... bits and the category nibble
    std::uint32_t uniqueID = 0;           // 24-bit, unique in the database, never 0
    std::vector<std::uint8_t> data;       // the record's bytes
};

struct PalmResource {
    std::uint32_t type = 0;               // four-character resource type
    std::uint16_t id = 0;                 // resource id; (type, id) is unique
    std::vector<std::uint8_t> data;       // the resource's bytes
};

class PalmDatabaseFile {
public:
    PalmDatabaseFile() = default;

    // A new, empty database dated now. A resource database gets the ResDB attribute.
    static PalmDatabaseFile Create(const std::string& name, std::uint32_t type, std::uint32_t creator,
                                   std::uint16_t attributes);

    // Reads a whole file image. False, with the reason in error, when the bytes are not a sound
    // Palm database; what out then holds is not to be used.
    static bool Parse(std::span<const std::uint8_t> bytes, PalmDatabaseFile& out, std::string& error);
    // Reads and parses a file. False with the reason when it cannot be read or is not sound;
    // *pReadFailed (when given) tells the first from the second.
    static bool Load(const std::string& path, PalmDatabaseFile& out, std::string& error, bool* pReadFailed = nullptr);

    // The file image: header, index, gap, AppInfo, SortInfo, then the data in index order.
    std::vector<std::uint8_t> Serialize() const;
    // Writes the file image to a temporary file in the target's folder and renames it over path.
    // On failure the target is as it was and no temporary file is left.
    bool Save(const std::string& path, std::string& error) const;

    bool IsResourceDatabase() const { return (m_header.attributes & kAttrResDB) != 0; }
    std::size_t EntryCount() const { return IsResourceDatabase() ? m_resources.size() : m_records.size(); }

    // Appends a record under a fresh unique ID (returned in *pUniqueID when given). False when
    // the database already holds kMaxEntries records or the record is larger than kMaxRecordSize.
    bool AppendRecord(std::uint8_t attributes, std::vector<std::uint8_t> data, std::uint32_t* pUniqueID = nullptr);
    // Adds a resource or replaces the one with the same type and id. False when it would be
    // entry kMaxEntries + 1 or larger than kMaxRecordSize.
    bool PutResource(std::uint32_t type, std::uint16_t id, std::vector<std::uint8_t> data);
    const PalmResource* FindResource(std::uint32_t type, std::uint16_t id) const;

    PalmDatabaseHeader m_header;              // header fields
    std::vector<std::uint8_t> m_appInfo;      // AppInfo block; empty = none
    std::vector<std::uint8_t> m_sortInfo;     // SortInfo block; empty = none
    std::vector<PalmRecord> m_records;        // records in index order (record databases)
    std::vector<PalmResource> m_resources;    // resources in index order (resource databases)

private:
    // The next unique ID above the seed (and above every ID in use), or 0 when the 24-bit range
    // is used up and no free ID is left. highest receives the largest of the seed and the IDs.
    std::uint32_t NextUniqueID(std::uint32_t& highest);
};

}  // namespace palm
