// The host's calls: connect, disconnect, log sink, program path, user name and ID, damaged file.
#include "platform/palm/HotSyncHost.h"

#include "platform/palm/HandheldSession.h"

using palm::HandheldSession;

extern "C" {

int32_t HotSyncConnect(const char* pszDirectory) { return HandheldSession::Instance().Connect(pszDirectory); }

void HotSyncDisconnect(void) { HandheldSession::Instance().Disconnect(); }

void HotSyncSetLogSink(HotSyncLogSink sink, void* pContext) { HandheldSession::Instance().SetLogSink(sink, pContext); }

int32_t HotSyncSetProgramPath(const char* pszPath) { return HandheldSession::Instance().SetProgramPath(pszPath); }

int32_t HotSyncGetUserName(char* pszName, uint32_t* pdwSize)
{
    return HandheldSession::Instance().GetUserName(pszName, pdwSize);
}

int32_t HotSyncGetUserID(uint32_t* pdwID) { return HandheldSession::Instance().GetUserID(pdwID); }

int32_t HotSyncGetDamagedFile(char* pszPath, uint32_t* pdwSize)
{
    return HandheldSession::Instance().GetDamagedFile(pszPath, pdwSize);
}

int32_t HotSyncGetUnsavedFile(char* pszPath, uint32_t* pdwSize)
{
    return HandheldSession::Instance().GetUnsavedFile(pszPath, pdwSize);
}

}  // extern "C"
