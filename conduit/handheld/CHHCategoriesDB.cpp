// Category records.
#include "conduit/handheld/CHHCategoriesDB.h"

#include "conduit/handheld/HHRecordFormats.h"
#include "conduit/handheld/HandheldConstants.h"
#include "conduit/handheld/HandheldText.h"

bool CHHCategoriesDB::Open()
{
    return OpenOrCreate(hh::kCategoriesDB, hh::kModeLookups, hh::kDataType);
}

bool CHHCategoriesDB::WriteCategory(std::uint16_t type, const std::string& category)
{
    char text[hh::kMaxCategoryChars];
    const std::size_t length = hh::ToHandheldText(category, text, sizeof text);
    hh::RecordBuffer buffer;
    const std::size_t count = hh::PackCategoryRecord(buffer, type, std::string_view(text, length));
    return WriteRecord(buffer, static_cast<std::uint32_t>(count)) == hh::kSyncOk;
}
