// Fuzzes PalmDatabaseFile::Parse with arbitrary file images. Whatever the bytes, parsing must
// stay inside them (AddressSanitizer watches), and a file it accepts must serialize into a file
// it accepts again with the same header, blocks, records and resources.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/palm/PalmDatabaseFile.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact-size heap copy, so a read one byte past the end is caught.
    const std::vector<std::uint8_t> bytes(data, data + size);
    palm::PalmDatabaseFile db;
    std::string error;
    if (!palm::PalmDatabaseFile::Parse(bytes, db, error)) {
        Require(!error.empty());
        return 0;
    }
    const std::vector<std::uint8_t> written = db.Serialize();
    palm::PalmDatabaseFile again;
    Require(palm::PalmDatabaseFile::Parse(written, again, error));
    Require(again.m_header.name == db.m_header.name);
    Require(again.m_header.attributes == (db.m_header.attributes & ~palm::kAttrOpen));
    Require(again.m_header.uniqueIDSeed == db.m_header.uniqueIDSeed);
    Require(again.m_appInfo == db.m_appInfo && again.m_sortInfo == db.m_sortInfo);
    Require(again.m_records.size() == db.m_records.size() && again.m_resources.size() == db.m_resources.size());
    for (std::size_t i = 0; i < db.m_records.size(); ++i) {
        Require(again.m_records[i].uniqueID == db.m_records[i].uniqueID);
        Require(again.m_records[i].attributes == db.m_records[i].attributes);
        Require(again.m_records[i].data == db.m_records[i].data);
    }
    for (std::size_t i = 0; i < db.m_resources.size(); ++i) {
        Require(again.m_resources[i].type == db.m_resources[i].type && again.m_resources[i].id == db.m_resources[i].id);
        Require(again.m_resources[i].data == db.m_resources[i].data);
    }
    // A record added to an accepted database gets an ID no other record has.
    if (!db.IsResourceDatabase()) {
        std::uint32_t id = 0;
        if (db.AppendRecord(0, {1}, &id)) {
            Require(id != 0 && id <= palm::kMaxUniqueID);
            for (std::size_t i = 0; i + 1 < db.m_records.size(); ++i)
                Require(db.m_records[i].uniqueID != id);
            Require(palm::PalmDatabaseFile::Parse(db.Serialize(), again, error));
        }
    }
    return 0;
}
