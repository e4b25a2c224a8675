/* The Conduit Manager: what the HotSync host tells conduits about itself. */
#pragma once

#include <stdint.h>

#include "platform/palm/PalmSyncExport.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Copies the HotSync program's path (set by the host) into pszPath, a buffer of *piSize bytes
 * (260 by custom). Results: 0; SYNCERR_BAD_ARGUMENT for a null pointer or a size below 1;
 * SYNCERR_NOT_FOUND when the host set no path; SYNCERR_BUFFER_TOO_SMALL when the path and its NUL
 * do not fit, with *piSize set to the size needed and the buffer untouched. */
PALMSYNC_API int32_t CmGetHotSyncExecPath(char* pszPath, int32_t* piSize);

#ifdef __cplusplus
}
#endif
