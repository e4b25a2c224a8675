// The conduit's preference block and its reading and writing.
#include "conduit/handheld/ConduitPrefs.h"

#include "conduit/handheld/HHBytes.h"
#include "conduit/handheld/HandheldConstants.h"

namespace hh {

void PackConduitPrefs(const ConduitPrefs& prefs, std::uint8_t (&block)[kConduitPrefsSize])
{
    PutLEWord(block, prefs.wPalmUpdt);
    PutLEWord(block + 2, prefs.wAppData);
    PutLEDWord(block + 4, prefs.dwAppData1);
    PutLEDWord(block + 8, prefs.dwAppData2);
}

void UnpackConduitPrefs(const std::uint8_t (&block)[kConduitPrefsSize], ConduitPrefs& prefs)
{
    prefs.wPalmUpdt = GetLEWord(block);
    prefs.wAppData = GetLEWord(block + 2);
    prefs.dwAppData1 = GetLEDWord(block + 4);
    prefs.dwAppData2 = GetLEDWord(block + 8);
}

std::int32_t ReadPrefs(ConduitPrefs& prefs)
{
    std::uint8_t block[kConduitPrefsSize] = {};
    SyncPreferenceInfo info{};
    info.dwCreator = kCreator;
    info.wID = kConduitPrefsID;
    info.pBytes = block;
    info.wSize = kConduitPrefsSize;
    info.bSaved = kSavedPreference;
    const std::int32_t result = SyncReadAppPreference(&info);
    if (result == kSyncNotFound) {
        prefs = ConduitPrefs();
        return kSyncOk;
    }
    if (result != kSyncOk)
        return result;
    UnpackConduitPrefs(block, prefs);
    prefs.wVersion = info.wVersion;
    return kSyncOk;
}

std::int32_t WritePrefs(const ConduitPrefs& prefs)
{
    std::uint8_t block[kConduitPrefsSize];
    PackConduitPrefs(prefs, block);
    SyncPreferenceInfo info{};
    info.dwCreator = kCreator;
    info.wID = kConduitPrefsID;
    info.wVersion = prefs.wVersion;
    info.pBytes = block;
    info.wSize = kConduitPrefsSize;
    info.bSaved = kSavedPreference;
    return SyncWriteAppPreference(&info);
}

}  // namespace hh
