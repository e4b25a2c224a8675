/* The Sync Manager: the calls through which a conduit reads and writes the databases of the
 * connected handheld. A handheld is a directory (see HotSyncHost.h): NAME.pdb holds the record
 * database NAME, NAME.prc the resource database NAME. A database opened for writing is changed in
 * memory and written to a temporary file that is renamed into place when it is closed, so an
 * interrupted synchronisation never leaves a half-written file. A file that fails the reader's
 * checks is refused with SYNCERR_FILE_CORRUPT; no file content can make a call crash.
 *
 * Results: 0 is success; every other value is one of the SYNCERR_ codes below. */
#pragma once

#include <stdint.h>

#include "platform/palm/PalmSyncExport.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Results of every Sync Manager, PalmCmn and Conduit Manager call. */
enum {
    SYNCERR_NONE = 0x0000,               /* success */
    SYNCERR_NOT_CONNECTED = 0x4001,      /* no handheld directory is connected */
    SYNCERR_BAD_ARGUMENT = 0x4002,       /* a null pointer, or a name, mode, card, size or category
                                            the call cannot use */
    SYNCERR_NOT_FOUND = 0x4003,          /* no such database, record, resource or preference */
    SYNCERR_FILE_CORRUPT = 0x4004,       /* the database file is not a sound Palm database, or its
                                            kind or name does not match its file name */
    SYNCERR_FILE_IO = 0x4005,            /* the file could not be read, written, renamed or removed */
    SYNCERR_TOO_MANY_OPEN = 0x4006,      /* every database handle is in use */
    SYNCERR_ALREADY_EXISTS = 0x4007,     /* a database of that name exists (create) */
    SYNCERR_WRONG_MODE = 0x4008,         /* the database was not opened for reading / writing */
    SYNCERR_WRONG_KIND = 0x4009,         /* a record call on a resource database or the reverse */
    SYNCERR_BUFFER_TOO_SMALL = 0x400A,   /* the caller's buffer cannot hold the data; nothing copied */
    SYNCERR_PREF_SIZE = 0x400B,          /* the stored preference is not the size asked for */
    SYNCERR_DB_OPEN = 0x400C,            /* the database is open (open twice, delete, preference) */
    SYNCERR_BAD_HANDLE = 0x400D,         /* the database handle is not open */
    SYNCERR_TOO_LARGE = 0x400E,          /* a record above 65535 bytes, or the database is full */
    SYNCERR_ALREADY_REGISTERED = 0x400F, /* another conduit is registered */
    SYNCERR_HANDHELD_BUSY = 0x4010       /* another HotSync is connected to the handheld (connect) */
};

/* Open modes (combine with |). Reading needs SYNC_MODE_READ, any change SYNC_MODE_WRITE. */
enum {
    SYNC_MODE_READ = 0x80,               /* read records, resources and the count */
    SYNC_MODE_WRITE = 0x40,              /* write, remove and purge records */
    SYNC_MODE_EXCLUSIVE = 0x20,          /* accepted; a database is only ever open once anyway */
    SYNC_MODE_SECRET = 0x10              /* accepted; private records are always visible here */
};

/* Header attributes of a database to create. */
enum {
    SYNC_DB_RESOURCE = 0x0001,           /* a resource database (.prc) */
    SYNC_DB_BACKUP = 0x0008              /* back up when no conduit handles it */
};

/* SyncCreateDB: what the new database is. Fields not needed are 0. */
typedef struct SyncCreateDBInfo {
    uint32_t dwCreator;                  /* creator code, e.g. 'Qlmr' */
    uint32_t dwType;                     /* type code, e.g. 'DATA' */
    const char* pszName;                 /* name: 1 to 31 printable ASCII bytes, no '/' */
    int32_t iCardNum;                    /* memory card; only card 0 exists */
    uint16_t wAttributes;                /* SYNC_DB_ bits */
    uint16_t wVersion;                   /* the application's layout version */
    uint8_t hDB;                         /* out: handle of the new database, open for reading
                                            and writing */
} SyncCreateDBInfo;

/* SyncWriteRec and SyncReadRecordByIndex. */
typedef struct SyncRecordInfo {
    uint8_t hDB;                         /* handle of the open database */
    uint16_t wIndex;                     /* read: position of the record, from 0 */
    uint32_t dwRecordID;                 /* write: 0 = a new record, else the record to replace;
                                            out: the record's unique ID */
    uint8_t bAttributes;                 /* the high nibble's flags, palm::kRecAttr... of
                                            RecordAttributes.h (read: out) */
    uint8_t bCategory;                   /* category 0..15 (read: out) */
    uint8_t* pBytes;                     /* write: the record's bytes; read: the buffer to fill */
    uint32_t dwSize;                     /* write: the byte count; read: the buffer's size */
    uint32_t dwRecordSize;               /* read, out: the record's size, also when the buffer is
                                            too small for it */
} SyncRecordInfo;

/* SyncReadResRecordByIndex. */
typedef struct SyncResourceInfo {
    uint8_t hDB;                         /* handle of the open resource database */
    uint16_t wIndex;                     /* position of the resource, from 0 */
    uint32_t dwType;                     /* out: the resource type, e.g. 'tver' */
    uint16_t wID;                        /* out: the resource id */
    uint8_t* pBytes;                     /* the buffer to fill with the data */
    uint32_t dwSize;                     /* the buffer's size */
    uint32_t dwResourceSize;             /* out: the resource's size */
} SyncResourceInfo;

/* SyncReadAppPreference and SyncWriteAppPreference. An application preference is kept as the
 * resource (type = creator, id) of the resource database "Saved Preferences" (type 'sprf') or
 * "Unsaved Preferences" (type 'pref'), creator 'psys'; its data is the 2-byte big-endian version
 * followed by the preference bytes. */
typedef struct SyncPreferenceInfo {
    uint32_t dwCreator;                  /* the application's creator code */
    uint16_t wID;                        /* preference id */
    uint16_t wVersion;                   /* write: the version to store; read: out */
    uint8_t* pBytes;                     /* the preference block */
    uint16_t wSize;                      /* bytes in the block; a read succeeds only when the
                                            stored preference has exactly this size */
    uint16_t wStoredSize;                /* read, out: the stored preference's size */
    int32_t bSaved;                      /* nonzero: "Saved Preferences"; 0: "Unsaved Preferences" */
} SyncPreferenceInfo;

/* SyncReadOpenDbInfo: what the header of an open database says. */
typedef struct SyncDbInfo {
    uint32_t dwCreateDate;               /* out: created, seconds since 1 January 1904; a database
                                            made anew under the same name has another */
    uint32_t dwModNumber;                /* out: its modification number */
} SyncDbInfo;

/* Registers the calling conduit for this synchronisation; *pHandle receives a nonzero handle. */
PALMSYNC_API int32_t SyncRegisterConduit(uint32_t* pHandle);
/* Ends the registration; databases the conduit left open are closed and saved. SYNCERR_FILE_IO
 * when one of them could not be saved (every one is closed all the same). */
PALMSYNC_API int32_t SyncUnRegisterConduit(uint32_t handle);

PALMSYNC_API int32_t SyncOpenDB(const char* pszName, int32_t iCardNum, uint8_t* pHandle, uint8_t openMode);
PALMSYNC_API int32_t SyncCreateDB(SyncCreateDBInfo* pInfo);
/* Closes the database; a changed one is saved (temporary file renamed into place).
 * SYNCERR_FILE_IO when the save failed: the file stays as it was and the handle is closed. */
PALMSYNC_API int32_t SyncCloseDB(uint8_t hDB);
PALMSYNC_API int32_t SyncDeleteDB(const char* pszName, int32_t iCardNum);

PALMSYNC_API int32_t SyncWriteRec(SyncRecordInfo* pInfo);
PALMSYNC_API int32_t SyncReadRecordByIndex(SyncRecordInfo* pInfo);
PALMSYNC_API int32_t SyncPurgeAllRecs(uint8_t hDB);
/* Records of a record database, resources of a resource database. */
PALMSYNC_API int32_t SyncGetDBRecordCount(uint8_t hDB, uint16_t* pCount);
/* The open database's creation date and modification number (SYNC_MODE_READ needed). */
PALMSYNC_API int32_t SyncReadOpenDbInfo(uint8_t hDB, SyncDbInfo* pInfo);
/* bReadData nonzero copies the data into the buffer; 0 fills only type, id and size. */
PALMSYNC_API int32_t SyncReadResRecordByIndex(SyncResourceInfo* pInfo, int32_t bReadData);

PALMSYNC_API int32_t SyncReadAppPreference(SyncPreferenceInfo* pInfo);
PALMSYNC_API int32_t SyncWriteAppPreference(SyncPreferenceInfo* pInfo);

/* Byte order: the handheld is big-endian. HostToHH gives the value whose bytes in memory are in
 * handheld order; HHToHost undoes it. */
PALMSYNC_API uint16_t SyncHostToHHWord(uint16_t value);
PALMSYNC_API uint32_t SyncHostToHHDWord(uint32_t value);
PALMSYNC_API uint16_t SyncHHToHostWord(uint16_t value);
PALMSYNC_API uint32_t SyncHHToHostDWord(uint32_t value);

#ifdef __cplusplus
}
#endif
