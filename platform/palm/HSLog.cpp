// The HotSync log call: hands each line to the host's sink.
#include "platform/palm/HSLog.h"

#include "platform/palm/HandheldSession.h"

extern "C" int32_t LogAddEntry(const char* pszText, int32_t activity, int32_t bTimeStamp)
{
    return palm::HandheldSession::Instance().AddLogEntry(pszText, activity, bTimeStamp);
}
