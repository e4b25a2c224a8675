// The Conduit Manager's path call.
#include "platform/palm/CondMgr.h"

#include "platform/palm/HandheldSession.h"

extern "C" int32_t CmGetHotSyncExecPath(char* pszPath, int32_t* piSize)
{
    return palm::HandheldSession::Instance().GetProgramPath(pszPath, piSize);
}
