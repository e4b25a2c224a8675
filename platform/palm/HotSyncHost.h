/* The host's side of libpalmsync: what the HotSync host program (and a test standing in for it)
 * does around a conduit's synchronisation. It connects the handheld, that is the directory that
 * holds the handheld's database files, receives the log lines, says where the HotSync program
 * lives and asks which file was found damaged. These calls are our own; conduits use SyncMgr.h,
 * HSLog.h, PalmCmn.h and CondMgr.h. */
#pragma once

#include <stdint.h>

#include "platform/palm/PalmSyncExport.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Receives every log line; pContext is the pointer given to HotSyncSetLogSink. */
typedef void (*HotSyncLogSink)(void* pContext, const char* pszText, int32_t activity, int32_t bTimeStamp);

/* Connects the handheld directory. A handheld already connected is disconnected first. The
 * connection holds an exclusive lock on the directory until HotSyncDisconnect (or the end of the
 * process), so a second host cannot synchronise the same handheld meanwhile.
 * Results: 0; SYNCERR_BAD_ARGUMENT for a null or empty path; SYNCERR_NOT_FOUND when it is no
 * directory; SYNCERR_HANDHELD_BUSY when another connection holds it; SYNCERR_FILE_IO when it
 * cannot be opened or locked. Nothing is connected after a failure. */
PALMSYNC_API int32_t HotSyncConnect(const char* pszDirectory);
/* Disconnects, like a cable pulled out: databases still open are dropped without saving their
 * changes (their files stay as they were), a registered conduit is unregistered and the lock on
 * the directory is released. */
PALMSYNC_API void HotSyncDisconnect(void);
/* Installs the log sink (null: lines are dropped). */
PALMSYNC_API void HotSyncSetLogSink(HotSyncLogSink sink, void* pContext);
/* Sets the path CmGetHotSyncExecPath reports (null or empty: none). SYNCERR_BAD_ARGUMENT when it
 * is 260 bytes or longer. */
PALMSYNC_API int32_t HotSyncSetProgramPath(const char* pszPath);
/* Copies the HotSync user name of the connected handheld (kept by `handheld init --user` in the
 * resource database "HotSync User", resource 'user' 0, as Windows-1252 text and a NUL) into a
 * buffer of *pdwSize bytes. Results as CmGetHotSyncExecPath, plus SYNCERR_NOT_CONNECTED. */
PALMSYNC_API int32_t HotSyncGetUserName(char* pszName, uint32_t* pdwSize);
/* The HotSync ID of the connected handheld: a number that tells it from every other handheld,
 * whatever its user name (resource 'hsid' 0 of "HotSync User", 4 bytes big-endian). A handheld
 * without one is given a new random one, saved on it at once, as HotSync Manager does at a
 * handheld's first HotSync. Results: 0; SYNCERR_BAD_ARGUMENT for a null pointer;
 * SYNCERR_NOT_CONNECTED; SYNCERR_FILE_CORRUPT when "HotSync User" is damaged; SYNCERR_FILE_IO
 * when the new ID cannot be saved. */
PALMSYNC_API int32_t HotSyncGetUserID(uint32_t* pdwID);
/* Copies the path of the database file that a call last refused as damaged
 * (SYNCERR_FILE_CORRUPT) since the handheld was connected, so the host can name it. Results as
 * HotSyncGetUserName; SYNCERR_NOT_FOUND when no file was refused. */
PALMSYNC_API int32_t HotSyncGetDamagedFile(char* pszPath, uint32_t* pdwSize);

/* Copies the path of the database file whose save last failed (SYNCERR_FILE_IO: written to its
 * temporary file, or renamed into place, it was not) since the handheld was connected. Results as
 * HotSyncGetDamagedFile. */
PALMSYNC_API int32_t HotSyncGetUnsavedFile(char* pszPath, uint32_t* pdwSize);

#ifdef __cplusplus
}
#endif
