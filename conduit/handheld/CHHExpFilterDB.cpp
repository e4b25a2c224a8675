// Filter records.
#include "conduit/handheld/CHHExpFilterDB.h"

#include "conduit/handheld/HHRecordFormats.h"
#include "conduit/handheld/HandheldConstants.h"

bool CHHExpFilterDB::Open()
{
    return OpenOrCreate(hh::kExpFilterDB, hh::kModeLookups, hh::kDataType);
}

bool CHHExpFilterDB::WriteFilterEntry(std::uint16_t kind, std::uint32_t id, const char* label)
{
    hh::RecordBuffer buffer;
    const std::size_t count = hh::PackFilterRecord(buffer, kind, id, label ? std::string_view(label) : std::string_view());
    return WriteRecord(buffer, static_cast<std::uint32_t>(count)) == hh::kSyncOk;
}
