// Packing and unpacking the lookup records.
#include "conduit/handheld/HHRecordFormats.h"

#include <algorithm>
#include <cstring>

#include "conduit/handheld/HHBytes.h"

namespace hh {

namespace {

// Copies the text behind a header of headerSize bytes; the buffer is already zero-filled, so
// the NUL is in place. Returns the record's length.
std::size_t PutText(RecordBuffer& buffer, std::size_t headerSize, std::string_view text)
{
    const std::size_t room = kRecordBufferSize - headerSize - 1;
    text = text.substr(0, std::min({text.size(), room, text.find('\0')}));
    std::copy(text.begin(), text.end(), buffer + headerSize);
    return headerSize + text.size() + 1;
}

std::size_t Start(RecordBuffer& buffer)
{
    std::memset(buffer, 0, kRecordBufferSize);
    return 0;
}

}  // namespace

std::string_view TextAt(std::span<const std::uint8_t> bytes)
{
    const auto nul = std::find(bytes.begin(), bytes.end(), std::uint8_t(0));
    return std::string_view(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(nul - bytes.begin()));
}

std::size_t PackAccountRecord(RecordBuffer& buffer, std::string_view code)
{
    Start(buffer);
    return PutText(buffer, 0, code);
}

std::size_t PackExpTypeRecord(RecordBuffer& buffer, std::uint16_t type, std::uint8_t comp, std::string_view label)
{
    Start(buffer);
    PutHHWord(buffer, type);
    buffer[2] = comp;
    return PutText(buffer, kExpTypeHeaderSize, label);
}

std::size_t PackCategoryRecord(RecordBuffer& buffer, std::uint16_t type, std::string_view category)
{
    Start(buffer);
    PutHHWord(buffer, type);
    return PutText(buffer, kCategoryHeaderSize, category);
}

std::size_t PackProjectRecord(RecordBuffer& buffer, std::uint32_t id, std::string_view name)
{
    Start(buffer);
    PutHHDWord(buffer, id);
    return PutText(buffer, kProjectHeaderSize, name);
}

std::size_t PackFilterRecord(RecordBuffer& buffer, std::uint16_t kind, std::uint32_t id, std::string_view label)
{
    Start(buffer);
    PutHHWord(buffer, kind);
    PutHHDWord(buffer + 2, id);
    return PutText(buffer, kFilterHeaderSize, label);
}

bool UnpackAccountRecord(std::span<const std::uint8_t> record, HHAccountRecord& out)
{
    out.code = TextAt(record);
    return true;
}

bool UnpackExpTypeRecord(std::span<const std::uint8_t> record, HHExpTypeRecord& out)
{
    if (record.size() < kExpTypeHeaderSize)
        return false;
    out.type = GetHHWord(record.data());
    out.comp = record[2];
    out.label = TextAt(record.subspan(kExpTypeHeaderSize));
    return true;
}

bool UnpackCategoryRecord(std::span<const std::uint8_t> record, HHCategoryRecord& out)
{
    if (record.size() < kCategoryHeaderSize)
        return false;
    out.type = GetHHWord(record.data());
    out.category = TextAt(record.subspan(kCategoryHeaderSize));
    return true;
}

bool UnpackProjectRecord(std::span<const std::uint8_t> record, HHProjectRecord& out)
{
    if (record.size() < kProjectHeaderSize)
        return false;
    out.id = GetHHDWord(record.data());
    out.name = TextAt(record.subspan(kProjectHeaderSize));
    return true;
}

bool UnpackFilterRecord(std::span<const std::uint8_t> record, HHFilterRecord& out)
{
    if (record.size() < kFilterHeaderSize)
        return false;
    out.kind = GetHHWord(record.data());
    out.id = GetHHDWord(record.data() + 2);
    out.label = TextAt(record.subspan(kFilterHeaderSize));
    return true;
}

}  // namespace hh
