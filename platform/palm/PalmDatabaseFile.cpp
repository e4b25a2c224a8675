// Reading, writing and saving Palm database files with every offset checked.
#include "platform/palm/PalmDatabaseFile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/fs/SafeReplace.h"
#include "platform/palm/PalmBytes.h"

namespace palm {

namespace {

// Header field offsets (see the table in the header file).
constexpr std::size_t kOffAttributes = 32;
constexpr std::size_t kOffVersion = 34;
constexpr std::size_t kOffCreationDate = 36;
constexpr std::size_t kOffModificationDate = 40;
constexpr std::size_t kOffBackupDate = 44;
constexpr std::size_t kOffModificationNumber = 48;
constexpr std::size_t kOffAppInfo = 52;
constexpr std::size_t kOffSortInfo = 56;
constexpr std::size_t kOffType = 60;
constexpr std::size_t kOffCreator = 64;
constexpr std::size_t kOffSeed = 68;
constexpr std::size_t kOffNextList = 72;
constexpr std::size_t kOffCount = 76;

// Files larger than this are no handheld database (a whole device held a few megabytes).
constexpr std::uintmax_t kMaxFileSize = 64u * 1024 * 1024;

constexpr std::uint32_t kReservedIDs = 0x002000;  // IDs below this belong to default (ROM) data

bool Fail(std::string& error, const std::string& reason)
{
    error = reason;
    return false;
}

// The data offsets of the index entries, in index order.
std::vector<std::uint32_t> EntryOffsets(const std::uint8_t* index, std::size_t count, bool resources)
{
    std::vector<std::uint32_t> offsets(count);
    const std::size_t entrySize = resources ? kResourceEntrySize : kRecordEntrySize;
    for (std::size_t i = 0; i < count; ++i)
        offsets[i] = Get4(index + i * entrySize + (resources ? 6 : 0));
    return offsets;
}

// Checks the block offsets against each other and the file length; dataStart is the first byte
// after the index and the gap.
bool CheckLayout(std::uint32_t appInfo, std::uint32_t sortInfo, const std::vector<std::uint32_t>& offsets,
                 std::size_t dataStart, std::size_t size, std::string& error)
{
    for (const auto& [offset, what] : {std::pair{appInfo, "AppInfo"}, std::pair{sortInfo, "SortInfo"}}) {
        if (offset == 0)
            continue;
        if (offset < dataStart)
            return Fail(error, std::string(what) + " offset points inside the header or index");
        if (offset > size)
            return Fail(error, std::string(what) + " offset points past the end of the file");
    }
    if (appInfo != 0 && sortInfo != 0 && sortInfo < appInfo)
        return Fail(error, "SortInfo block lies before the AppInfo block");
    std::uint32_t previous = std::max(appInfo, sortInfo);
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        if (offsets[i] < dataStart)
            return Fail(error, "entry " + std::to_string(i) + " points inside the header or index");
        if (offsets[i] > size)
            return Fail(error, "entry " + std::to_string(i) + " points past the end of the file");
        if (offsets[i] < previous)
            return Fail(error, "entry " + std::to_string(i) + " lies before the block in front of it");
        previous = offsets[i];
    }
    return true;
}

std::vector<std::uint8_t> Slice(std::span<const std::uint8_t> bytes, std::size_t from, std::size_t to)
{
    return std::vector<std::uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                     bytes.begin() + static_cast<std::ptrdiff_t>(to));
}

bool ReadRecords(std::span<const std::uint8_t> bytes, std::size_t count, const std::vector<std::uint32_t>& offsets,
                 PalmDatabaseFile& out, std::string& error)
{
    std::vector<std::uint32_t> ids;
    ids.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = bytes.data() + kHeaderSize + i * kRecordEntrySize;
        PalmRecord record;
        record.attributes = entry[4];
        record.uniqueID = Get3(entry + 5);
        if (record.uniqueID == 0)
            return Fail(error, "record " + std::to_string(i) + " has unique ID 0");
        const std::size_t end = i + 1 < count ? offsets[i + 1] : bytes.size();
        record.data = Slice(bytes, offsets[i], end);
        ids.push_back(record.uniqueID);
        out.m_records.push_back(std::move(record));
    }
    std::sort(ids.begin(), ids.end());
    if (std::adjacent_find(ids.begin(), ids.end()) != ids.end())
        return Fail(error, "a record unique ID occurs twice");
    return true;
}

bool ReadResources(std::span<const std::uint8_t> bytes, std::size_t count, const std::vector<std::uint32_t>& offsets,
                   PalmDatabaseFile& out, std::string& error)
{
    std::vector<std::pair<std::uint32_t, std::uint16_t>> keys;
    keys.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* entry = bytes.data() + kHeaderSize + i * kResourceEntrySize;
        PalmResource resource;
        resource.type = Get4(entry);
        resource.id = Get2(entry + 4);
        const std::size_t end = i + 1 < count ? offsets[i + 1] : bytes.size();
        resource.data = Slice(bytes, offsets[i], end);
        keys.emplace_back(resource.type, resource.id);
        out.m_resources.push_back(std::move(resource));
    }
    std::sort(keys.begin(), keys.end());
    if (std::adjacent_find(keys.begin(), keys.end()) != keys.end())
        return Fail(error, "a resource type and id occur twice");
    return true;
}

}  // namespace

PalmDatabaseFile PalmDatabaseFile::Create(const std::string& name, std::uint32_t type, std::uint32_t creator,
                                          std::uint16_t attributes)
{
    PalmDatabaseFile file;
    file.m_header.name = name.substr(0, kMaxNameLength);
    file.m_header.attributes = static_cast<std::uint16_t>(attributes & ~kAttrOpen);
    file.m_header.creationDate = file.m_header.modificationDate = PalmTimeNow();
    file.m_header.type = type;
    file.m_header.creator = creator;
    file.m_header.uniqueIDSeed = kFirstSeed;
    return file;
}

bool PalmDatabaseFile::Parse(std::span<const std::uint8_t> bytes, PalmDatabaseFile& out, std::string& error)
{
    out = PalmDatabaseFile();
    const std::size_t size = bytes.size();
    if (size < kHeaderSize)
        return Fail(error, "shorter than the 78-byte header");
    const std::uint8_t* p = bytes.data();
    const auto* nul = static_cast<const std::uint8_t*>(std::memchr(p, 0, kNameSize));
    if (!nul)
        return Fail(error, "the name has no NUL");
    if (nul == p)
        return Fail(error, "the name is empty");
    if (Get4(p + kOffNextList) != 0)
        return Fail(error, "the next record list ID is not 0");

    PalmDatabaseHeader& h = out.m_header;
    h.name.assign(reinterpret_cast<const char*>(p), static_cast<std::size_t>(nul - p));
    h.attributes = Get2(p + kOffAttributes);
    h.version = Get2(p + kOffVersion);
    h.creationDate = Get4(p + kOffCreationDate);
    h.modificationDate = Get4(p + kOffModificationDate);
    h.lastBackupDate = Get4(p + kOffBackupDate);
    h.modificationNumber = Get4(p + kOffModificationNumber);
    h.type = Get4(p + kOffType);
    h.creator = Get4(p + kOffCreator);
    h.uniqueIDSeed = Get4(p + kOffSeed);

    const bool resources = out.IsResourceDatabase();
    const std::size_t count = Get2(p + kOffCount);
    const std::size_t indexEnd = kHeaderSize + count * (resources ? kResourceEntrySize : kRecordEntrySize);
    if (indexEnd > size)
        return Fail(error, "the index runs past the end of the file");
    if (indexEnd + kGapSize > size)
        return Fail(error, "the 2-byte gap after the index is missing");

    const std::uint32_t appInfo = Get4(p + kOffAppInfo);
    const std::uint32_t sortInfo = Get4(p + kOffSortInfo);
    const std::vector<std::uint32_t> offsets = EntryOffsets(p + kHeaderSize, count, resources);
    if (!CheckLayout(appInfo, sortInfo, offsets, indexEnd + kGapSize, size, error))
        return false;

    const std::size_t firstData = offsets.empty() ? size : offsets.front();
    if (appInfo != 0)
        out.m_appInfo = Slice(bytes, appInfo, sortInfo != 0 ? sortInfo : firstData);
    if (sortInfo != 0)
        out.m_sortInfo = Slice(bytes, sortInfo, firstData);
    return resources ? ReadResources(bytes, count, offsets, out, error)
                     : ReadRecords(bytes, count, offsets, out, error);
}

bool PalmDatabaseFile::Load(const std::string& path, PalmDatabaseFile& out, std::string& error, bool* pReadFailed)
{
    if (pReadFailed)
        *pReadFailed = true;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return Fail(error, "not a regular file");
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec)
        return Fail(error, "cannot read its size: " + ec.message());
    if (size > kMaxFileSize) {
        if (pReadFailed)
            *pReadFailed = false;
        return Fail(error, "larger than any handheld database");
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in || !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        return Fail(error, "cannot be read");
    if (pReadFailed)
        *pReadFailed = false;
    return Parse(bytes, out, error);
}

std::vector<std::uint8_t> PalmDatabaseFile::Serialize() const
{
    const bool resources = IsResourceDatabase();
    const std::size_t count = EntryCount();
    const std::size_t entrySize = resources ? kResourceEntrySize : kRecordEntrySize;
    const std::size_t dataStart = kHeaderSize + count * entrySize + kGapSize;
    std::size_t total = dataStart + m_appInfo.size() + m_sortInfo.size();
    for (const auto& record : m_records)
        total += resources ? 0 : record.data.size();
    for (const auto& resource : m_resources)
        total += resources ? resource.data.size() : 0;

    std::vector<std::uint8_t> bytes(total, 0);
    std::uint8_t* p = bytes.data();
    std::copy_n(m_header.name.begin(), std::min(m_header.name.size(), kMaxNameLength), p);
    Put2(p + kOffAttributes, static_cast<std::uint16_t>(m_header.attributes & ~kAttrOpen));
    Put2(p + kOffVersion, m_header.version);
    Put4(p + kOffCreationDate, m_header.creationDate);
    Put4(p + kOffModificationDate, m_header.modificationDate);
    Put4(p + kOffBackupDate, m_header.lastBackupDate);
    Put4(p + kOffModificationNumber, m_header.modificationNumber);
    std::size_t offset = dataStart;
    Put4(p + kOffAppInfo, m_appInfo.empty() ? 0 : static_cast<std::uint32_t>(offset));
    offset += m_appInfo.size();
    Put4(p + kOffSortInfo, m_sortInfo.empty() ? 0 : static_cast<std::uint32_t>(offset));
    offset += m_sortInfo.size();
    Put4(p + kOffType, m_header.type);
    Put4(p + kOffCreator, m_header.creator);
    Put4(p + kOffSeed, m_header.uniqueIDSeed);
    Put2(p + kOffCount, static_cast<std::uint16_t>(count));

    std::copy(m_appInfo.begin(), m_appInfo.end(), p + dataStart);
    std::copy(m_sortInfo.begin(), m_sortInfo.end(), p + dataStart + m_appInfo.size());
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* entry = p + kHeaderSize + i * entrySize;
        const std::vector<std::uint8_t>& data = resources ? m_resources[i].data : m_records[i].data;
        if (resources) {
            Put4(entry, m_resources[i].type);
            Put2(entry + 4, m_resources[i].id);
            Put4(entry + 6, static_cast<std::uint32_t>(offset));
        } else {
            Put4(entry, static_cast<std::uint32_t>(offset));
            entry[4] = m_records[i].attributes;
            Put3(entry + 5, m_records[i].uniqueID);
        }
        std::copy(data.begin(), data.end(), p + offset);
        offset += data.size();
    }
    return bytes;
}

bool PalmDatabaseFile::Save(const std::string& path, std::string& error) const
{
    try {
        return files::SafeReplace::replace(
            path, [this](const files::TemporaryFile& file) { file.write(Serialize()); }, error);
    } catch (const std::exception& failure) {  // a failed write, or no memory for the image
        return Fail(error, failure.what());
    }
}

std::uint32_t PalmDatabaseFile::NextUniqueID(std::uint32_t& highest)
{
    highest = std::max(m_header.uniqueIDSeed & kMaxUniqueID, kFirstSeed);
    for (const auto& record : m_records)
        highest = std::max(highest, record.uniqueID);
    if (highest < kMaxUniqueID)
        return highest + 1;
    // The seed has reached the top of the range: take the lowest free ID above the reserved ones.
    std::vector<std::uint32_t> used;
    used.reserve(m_records.size());
    for (const auto& record : m_records)
        used.push_back(record.uniqueID);
    std::sort(used.begin(), used.end());
    std::uint32_t candidate = kReservedIDs;
    for (const std::uint32_t id : used) {
        if (id > candidate)
            break;
        if (id == candidate)
            ++candidate;
    }
    return candidate <= kMaxUniqueID ? candidate : 0;
}

bool PalmDatabaseFile::AppendRecord(std::uint8_t attributes, std::vector<std::uint8_t> data, std::uint32_t* pUniqueID)
{
    if (m_records.size() >= kMaxEntries || data.size() > kMaxRecordSize)
        return false;
    std::uint32_t highest = 0;
    const std::uint32_t id = NextUniqueID(highest);
    if (id == 0)
        return false;
    m_records.push_back(PalmRecord{attributes, id, std::move(data)});
    m_header.uniqueIDSeed = std::max(highest, id);
    if (pUniqueID)
        *pUniqueID = id;
    return true;
}

bool PalmDatabaseFile::PutResource(std::uint32_t type, std::uint16_t id, std::vector<std::uint8_t> data)
{
    if (data.size() > kMaxRecordSize)
        return false;
    for (auto& resource : m_resources) {
        if (resource.type == type && resource.id == id) {
            resource.data = std::move(data);
            return true;
        }
    }
    if (m_resources.size() >= kMaxEntries)
        return false;
    m_resources.push_back(PalmResource{type, id, std::move(data)});
    return true;
}

const PalmResource* PalmDatabaseFile::FindResource(std::uint32_t type, std::uint16_t id) const
{
    for (const auto& resource : m_resources)
        if (resource.type == type && resource.id == id)
            return &resource;
    return nullptr;
}

}  // namespace palm
