/* The entry points of the conduit library libQuillsync.so, as the HotSync host calls them. They
 * are the only symbols the library exports. Request blocks are byte buffers read and written at
 * fixed offsets as 32-bit little-endian integers:
 *
 *   ConfigureConduit block   OFFSET SIZE  DESCRIPTION
 *                            516    4     preference scope (out; 0 on entry)
 *                            520    4     sync type (in and out)
 *   CfgConduit block (352)   0      4     block kind, must be 1
 *                            16     320   HotSync user name, NUL-terminated
 *                            336    4     default sync type (in)
 *                            340    4     sync type of the next HotSync (in)
 *                            344    4     chosen sync type (out)
 *                            348    4     preference scope (out): 1 default, 2 next HotSync only
 *   OpenConduit properties   0      4     sync type: 0 synchronise, 2 handheld to desktop, 6 nothing
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QUILLSYNC_API __attribute__((visibility("default")))

enum {
    kConfigureScopeOffset = 516,
    kConfigureSyncTypeOffset = 520,
    kConfigureBlockSize = 524,
    kCfgKindOffset = 0,
    kCfgUserNameOffset = 16,
    kCfgDefaultTypeOffset = 336,
    kCfgNextTypeOffset = 340,
    kCfgChosenTypeOffset = 344,
    kCfgScopeOffset = 348,
    kCfgBlockSize = 352
};

QUILLSYNC_API int32_t GetConduitName(char* pszName, uint16_t wSize);
QUILLSYNC_API int32_t GetConduitVersion(void);
QUILLSYNC_API int32_t GetConduitInfo(int32_t infoType, int32_t* pArg, void* pOut, uint32_t* pdwSize);
QUILLSYNC_API int32_t ConfigureConduit(void* pBlock);
QUILLSYNC_API int32_t OpenConduit(void* pCallback, void* pProps);
QUILLSYNC_API int32_t CfgConduit(int32_t operation, void* pBlock, uint32_t* pdwSize);

#ifdef __cplusplus
}
#endif
