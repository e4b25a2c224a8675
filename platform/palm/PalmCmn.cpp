// PalmCmn's set-up and clean-up calls.
#include "platform/palm/PalmCmn.h"

#include "platform/palm/HandheldSession.h"

extern "C" uint32_t PalmCmnSetUp(const char* pszFileName, void* /*hInstance*/, uint32_t* pdwUsers)
{
    return palm::HandheldSession::Instance().PalmCmnSetUp(pszFileName, pdwUsers);
}

extern "C" void PalmCmnCleanUp(uint32_t dwKept, void* /*hInstance*/)
{
    palm::HandheldSession::Instance().PalmCmnCleanUp(dwKept);
}
