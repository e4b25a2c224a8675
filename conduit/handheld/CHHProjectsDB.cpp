// Project records.
#include "conduit/handheld/CHHProjectsDB.h"

#include "conduit/handheld/HHRecordFormats.h"
#include "conduit/handheld/HandheldConstants.h"
#include "conduit/handheld/HandheldText.h"

bool CHHProjectsDB::Open()
{
    return OpenOrCreate(hh::kProjectsDB, hh::kModeLookups, hh::kDataType);
}

bool CHHProjectsDB::WriteProject(std::uint32_t id, const std::string& name)
{
    char text[hh::kMaxProjectNameChars];
    const std::size_t length = hh::ToHandheldText(name, text, sizeof text);
    hh::RecordBuffer buffer;
    const std::size_t count = hh::PackProjectRecord(buffer, id, std::string_view(text, length));
    return WriteRecord(buffer, static_cast<std::uint32_t>(count)) == hh::kSyncOk;
}
