/* The HotSync log: conduits add lines to the log that the HotSync host shows and keeps. Each line
 * goes to the sink the host registered (HotSyncHost.h); with no sink it is dropped. */
#pragma once

#include <stdint.h>

#include "platform/palm/PalmSyncExport.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Activity codes a conduit passes with a line. */
enum {
    HSLOG_TEXT = -1,                     /* a plain text line */
    HSLOG_SYNC_STARTED = 19,             /* the (empty) line that opens a conduit's synchronisation */
    HSLOG_SYNC_FINISHED = 20,            /* the closing line after success */
    HSLOG_SYNC_ABORTED = 21              /* the closing line after a failure, and error lines */
};

/* Adds one line. bTimeStamp asks the host to put the time in front. Returns SYNCERR_BAD_ARGUMENT
 * for a null text, else 0. */
PALMSYNC_API int32_t LogAddEntry(const char* pszText, int32_t activity, int32_t bTimeStamp);

#ifdef __cplusplus
}
#endif
