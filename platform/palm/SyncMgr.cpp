// The Sync Manager's C calls: each hands its arguments to the one HandheldSession.
#include "platform/palm/SyncMgr.h"

#include <bit>

#include "platform/palm/HandheldSession.h"

using palm::HandheldSession;

namespace {

template <typename T>
T ToBigEndian(T value)
{
    if constexpr (std::endian::native == std::endian::big)
        return value;
    else if constexpr (sizeof(T) == 2)
        return static_cast<T>(__builtin_bswap16(value));
    else
        return static_cast<T>(__builtin_bswap32(value));
}

}  // namespace

extern "C" {

int32_t SyncRegisterConduit(uint32_t* pHandle) { return HandheldSession::Instance().Register(pHandle); }

int32_t SyncUnRegisterConduit(uint32_t handle) { return HandheldSession::Instance().Unregister(handle); }

int32_t SyncOpenDB(const char* pszName, int32_t iCardNum, uint8_t* pHandle, uint8_t openMode)
{
    return HandheldSession::Instance().OpenDB(pszName, iCardNum, pHandle, openMode);
}

int32_t SyncCreateDB(SyncCreateDBInfo* pInfo) { return HandheldSession::Instance().CreateDB(pInfo); }

int32_t SyncCloseDB(uint8_t hDB) { return HandheldSession::Instance().CloseDB(hDB); }

int32_t SyncDeleteDB(const char* pszName, int32_t iCardNum)
{
    return HandheldSession::Instance().DeleteDB(pszName, iCardNum);
}

int32_t SyncWriteRec(SyncRecordInfo* pInfo) { return HandheldSession::Instance().WriteRec(pInfo); }

int32_t SyncReadRecordByIndex(SyncRecordInfo* pInfo) { return HandheldSession::Instance().ReadRecordByIndex(pInfo); }

int32_t SyncPurgeAllRecs(uint8_t hDB) { return HandheldSession::Instance().PurgeAllRecs(hDB); }

int32_t SyncReadOpenDbInfo(uint8_t hDB, SyncDbInfo* pInfo)
{
    return HandheldSession::Instance().ReadOpenDbInfo(hDB, pInfo);
}

int32_t SyncGetDBRecordCount(uint8_t hDB, uint16_t* pCount)
{
    return HandheldSession::Instance().GetDBRecordCount(hDB, pCount);
}

int32_t SyncReadResRecordByIndex(SyncResourceInfo* pInfo, int32_t bReadData)
{
    return HandheldSession::Instance().ReadResRecordByIndex(pInfo, bReadData != 0);
}

int32_t SyncReadAppPreference(SyncPreferenceInfo* pInfo) { return HandheldSession::Instance().ReadAppPreference(pInfo); }

int32_t SyncWriteAppPreference(SyncPreferenceInfo* pInfo)
{
    return HandheldSession::Instance().WriteAppPreference(pInfo);
}

uint16_t SyncHostToHHWord(uint16_t value) { return ToBigEndian(value); }

uint32_t SyncHostToHHDWord(uint32_t value) { return ToBigEndian(value); }

uint16_t SyncHHToHostWord(uint16_t value) { return ToBigEndian(value); }

uint32_t SyncHHToHostDWord(uint32_t value) { return ToBigEndian(value); }

}  // extern "C"
