// Account records.
#include "conduit/handheld/CHHAccountsDB.h"

#include "conduit/handheld/HHRecordFormats.h"
#include "conduit/handheld/HandheldConstants.h"
#include "conduit/handheld/HandheldText.h"

bool CHHAccountsDB::Open()
{
    return OpenOrCreate(hh::kAccountsDB, hh::kModeLookups, hh::kDataType);
}

bool CHHAccountsDB::WriteAccount(const std::string& code)
{
    char text[hh::kMaxAccountChars];
    const std::size_t length = hh::ToHandheldText(code, text, sizeof text);
    hh::RecordBuffer buffer;
    const std::size_t count = hh::PackAccountRecord(buffer, std::string_view(text, length));
    return WriteRecord(buffer, static_cast<std::uint32_t>(count)) == hh::kSyncOk;
}
