// Expense-type records.
#include "conduit/handheld/CHHExpTypesDB.h"

#include "conduit/handheld/HHRecordFormats.h"
#include "conduit/handheld/HandheldConstants.h"
#include "conduit/handheld/HandheldText.h"

bool CHHExpTypesDB::Open()
{
    return OpenOrCreate(hh::kExpTypesDB, hh::kModeLookups, hh::kDataType);
}

bool CHHExpTypesDB::WriteExpType(std::uint16_t type, std::uint8_t comp, const std::string& label)
{
    char text[hh::kMaxExpTypeLabelChars];
    const std::size_t length = hh::ToHandheldText(label, text, sizeof text);
    hh::RecordBuffer buffer;
    const std::size_t count = hh::PackExpTypeRecord(buffer, type, comp, std::string_view(text, length));
    return WriteRecord(buffer, static_cast<std::uint32_t>(count)) == hh::kSyncOk;
}
