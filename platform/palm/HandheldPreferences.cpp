// The Sync Manager's preference calls: an application preference is a resource of the resource
// database "Saved Preferences" or "Unsaved Preferences", as a device keeps it.
#include "platform/palm/HandheldSession.h"

#include "platform/palm/PalmBytes.h"

namespace palm {

namespace {

constexpr std::uint32_t kSystemCreator = FourCC("psys");
constexpr const char* kSavedPreferences = "Saved Preferences";
constexpr const char* kUnsavedPreferences = "Unsaved Preferences";
constexpr std::uint32_t kSavedPreferencesType = FourCC("sprf");
constexpr std::uint32_t kUnsavedPreferencesType = FourCC("pref");
constexpr std::size_t kPreferenceVersionSize = 2;     // the big-endian version before the bytes

}  // namespace

std::int32_t HandheldSession::CheckPreferenceRequest(const SyncPreferenceInfo* pInfo, std::string& name) const
{
    if (!pInfo || (!pInfo->pBytes && pInfo->wSize != 0))
        return SYNCERR_BAD_ARGUMENT;
    if (m_directory.empty())
        return SYNCERR_NOT_CONNECTED;
    name = pInfo->bSaved ? kSavedPreferences : kUnsavedPreferences;
    return IsOpen(name) ? SYNCERR_DB_OPEN : SYNCERR_NONE;
}

std::int32_t HandheldSession::ReadAppPreference(SyncPreferenceInfo* pInfo)
{
    std::lock_guard lock(m_lock);
    std::string name;
    if (const std::int32_t refused = CheckPreferenceRequest(pInfo, name); refused != SYNCERR_NONE)
        return refused;
    std::string path;
    PalmDatabaseFile file;
    if (const std::int32_t result = FindAndLoad(name, path, file); result != SYNCERR_NONE)
        return result;
    const PalmResource* resource = file.FindResource(pInfo->dwCreator, pInfo->wID);
    if (!resource)
        return SYNCERR_NOT_FOUND;
    if (resource->data.size() < kPreferenceVersionSize)
        return Damaged(path);
    const std::size_t stored = resource->data.size() - kPreferenceVersionSize;
    pInfo->wStoredSize = static_cast<std::uint16_t>(stored);
    pInfo->wVersion = Get2(resource->data.data());
    if (stored != pInfo->wSize)
        return SYNCERR_PREF_SIZE;
    std::copy(resource->data.begin() + kPreferenceVersionSize, resource->data.end(), pInfo->pBytes);
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::WriteAppPreference(SyncPreferenceInfo* pInfo)
{
    std::lock_guard lock(m_lock);
    std::string name;
    if (const std::int32_t refused = CheckPreferenceRequest(pInfo, name); refused != SYNCERR_NONE)
        return refused;
    const bool saved = pInfo->bSaved != 0;
    std::string path;
    PalmDatabaseFile file;
    if (const std::int32_t result = FindAndLoad(name, path, file); result == SYNCERR_NOT_FOUND) {
        const std::uint16_t attributes = saved ? kAttrResDB | kAttrBackup : kAttrResDB;
        file = PalmDatabaseFile::Create(name, saved ? kSavedPreferencesType : kUnsavedPreferencesType,
                                        kSystemCreator, attributes);
        path = PathOf(name, true);
    } else if (result != SYNCERR_NONE) {
        return result;
    }
    std::vector<std::uint8_t> data(kPreferenceVersionSize + pInfo->wSize);
    Put2(data.data(), pInfo->wVersion);
    std::copy(pInfo->pBytes, pInfo->pBytes + pInfo->wSize, data.begin() + kPreferenceVersionSize);
    if (!file.PutResource(pInfo->dwCreator, pInfo->wID, std::move(data)))
        return SYNCERR_TOO_LARGE;
    file.m_header.modificationDate = PalmTimeNow();
    ++file.m_header.modificationNumber;
    std::string error;
    return file.Save(path, error) ? SYNCERR_NONE : SYNCERR_FILE_IO;
}

}  // namespace palm
