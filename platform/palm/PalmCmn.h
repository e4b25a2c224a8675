/* PalmCmn: the common library every conduit sets up when it is loaded and cleans up when it is
 * unloaded. The set-up returns a value that the conduit keeps and hands back to the clean-up. */
#pragma once

#include <stdint.h>

#include "platform/palm/PalmSyncExport.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Registers a loaded module (its file name, e.g. "Quillsync.dll", and its instance handle).
 * Returns the nonzero value to keep for PalmCmnCleanUp, or 0 when pszFileName is null or empty.
 * *pdwUsers (when not null) receives the number of modules set up after this call. */
PALMSYNC_API uint32_t PalmCmnSetUp(const char* pszFileName, void* hInstance, uint32_t* pdwUsers);
/* Releases what PalmCmnSetUp registered under dwKept; an unknown value is ignored. */
PALMSYNC_API void PalmCmnCleanUp(uint32_t dwKept, void* hInstance);

#ifdef __cplusplus
}
#endif
