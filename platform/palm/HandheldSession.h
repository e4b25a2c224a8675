// HandheldSession: the one connection state inside libpalmsync that the C calls of SyncMgr.h,
// HSLog.h, PalmCmn.h, CondMgr.h and HotSyncHost.h work on: the connected handheld directory and
// the lock held on it, the databases open on it, the registered conduit, the log sink, the
// HotSync program's path and the PalmCmn users. Every operation takes the session's lock, so the
// host and a conduit may call from different threads. Internal to the library.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "platform/palm/HandheldLock.h"
#include "platform/palm/HotSyncHost.h"
#include "platform/palm/PalmDatabaseFile.h"
#include "platform/palm/SyncMgr.h"

namespace palm {

class HandheldSession {
public:
    static HandheldSession& Instance();

    // Host side.
    std::int32_t Connect(const char* pszDirectory);
    void Disconnect();
    void SetLogSink(HotSyncLogSink sink, void* pContext);
    std::int32_t SetProgramPath(const char* pszPath);
    std::int32_t GetUserName(char* pszName, std::uint32_t* pdwSize);
    std::int32_t GetUserID(std::uint32_t* pdwID);
    std::int32_t GetDamagedFile(char* pszPath, std::uint32_t* pdwSize);
    std::int32_t GetUnsavedFile(char* pszPath, std::uint32_t* pdwSize);

    // Sync Manager.
    std::int32_t Register(std::uint32_t* pHandle);
    std::int32_t Unregister(std::uint32_t handle);
    std::int32_t OpenDB(const char* pszName, std::int32_t iCardNum, std::uint8_t* pHandle, std::uint8_t openMode);
    std::int32_t CreateDB(SyncCreateDBInfo* pInfo);
    std::int32_t CloseDB(std::uint8_t hDB);
    std::int32_t DeleteDB(const char* pszName, std::int32_t iCardNum);
    std::int32_t WriteRec(SyncRecordInfo* pInfo);
    std::int32_t ReadRecordByIndex(SyncRecordInfo* pInfo);
    std::int32_t PurgeAllRecs(std::uint8_t hDB);
    std::int32_t GetDBRecordCount(std::uint8_t hDB, std::uint16_t* pCount);
    std::int32_t ReadOpenDbInfo(std::uint8_t hDB, SyncDbInfo* pInfo);
    std::int32_t ReadResRecordByIndex(SyncResourceInfo* pInfo, bool readData);
    std::int32_t ReadAppPreference(SyncPreferenceInfo* pInfo);
    std::int32_t WriteAppPreference(SyncPreferenceInfo* pInfo);

    // HotSync log, PalmCmn, Conduit Manager.
    std::int32_t AddLogEntry(const char* pszText, std::int32_t activity, std::int32_t bTimeStamp);
    std::uint32_t PalmCmnSetUp(const char* pszFileName, std::uint32_t* pdwUsers);
    void PalmCmnCleanUp(std::uint32_t dwKept);
    std::int32_t GetProgramPath(char* pszPath, std::int32_t* piSize);

    static constexpr int kMaxOpenDatabases = 16;   // handles 1..16

private:
    struct OpenDatabase {
        std::string name;               // database name (also the file's stem)
        std::string path;               // the .pdb or .prc file
        PalmDatabaseFile file;          // the contents, changed in memory until closed
        std::uint8_t mode = 0;          // SYNC_MODE_ bits it was opened with
        bool changed = false;           // whether closing must save it
    };

    HandheldSession() = default;

    // Unlocked helpers; the caller holds m_lock.
    void DisconnectLocked();
    std::int32_t CheckName(const char* pszName, std::int32_t iCardNum) const;
    std::string PathOf(const std::string& name, bool resource) const;
    // Finds the file of a database: 0 with its path, SYNCERR_NOT_FOUND, or SYNCERR_FILE_CORRUPT
    // when both a .pdb and a .prc of that name exist.
    std::int32_t FindFile(const std::string& name, std::string& path) const;
    // Loads and checks a database file against the name and kind its file name gives.
    std::int32_t LoadFile(const std::string& name, const std::string& path, PalmDatabaseFile& file) const;
    // FindFile, then LoadFile on what it found.
    std::int32_t FindAndLoad(const std::string& name, std::string& path, PalmDatabaseFile& file) const;
    // "HotSync User" as a resource database: SYNCERR_NOT_FOUND when the handheld has none.
    std::int32_t LoadUserDatabase(std::string& path, PalmDatabaseFile& file) const;
    // Remembers path as the file last refused as damaged; SYNCERR_FILE_CORRUPT.
    std::int32_t Damaged(const std::string& path) const;
    bool IsOpen(const std::string& name) const;
    // The checks both preference calls make; name receives the preferences database's name.
    std::int32_t CheckPreferenceRequest(const SyncPreferenceInfo* pInfo, std::string& name) const;
    std::uint8_t FreeHandle() const;
    OpenDatabase* Lookup(std::uint8_t hDB);
    // The checks of a call that reads an open database into pOut: a pointer, the handle, the mode.
    std::int32_t LookupReadable(std::uint8_t hDB, const void* pOut, OpenDatabase*& db);
    // The checks of a record call: the handle, the mode bit it needs, a record (not resource) database.
    std::int32_t LookupRecords(std::uint8_t hDB, std::uint8_t modeBit, OpenDatabase*& db);
    std::int32_t SaveAndForget(std::uint8_t hDB);
    // Closes every open database, saving the changed ones when save is set: 0, or the first
    // save's failure.
    std::int32_t CloseAll(bool save);
    // Copies text and its NUL into a caller's buffer; the size needed comes back when it is short.
    std::int32_t CopyOut(const std::string& text, char* pBuffer, std::int32_t* piSize) const;
    std::int32_t CopyOut(const std::string& text, char* pBuffer, std::uint32_t* pdwSize) const;
    // The checks of the host's text calls: connected, and a size the buffer can have.
    std::int32_t CheckTextRequest(const std::uint32_t* pdwSize) const;

    mutable std::mutex m_lock;                       // guards everything below
    std::string m_directory;                         // the connected handheld; empty = none
    HandheldLock m_handheldLock;                     // held on m_directory while it is connected
    mutable std::string m_damagedFile;               // the file last refused as damaged since the
                                                     //   connection; empty = none
    std::string m_unsavedFile;                       // the file whose save last failed since the
                                                     //   connection; empty = none
    std::map<std::uint8_t, OpenDatabase> m_open;     // open databases by handle
    std::uint32_t m_registered = 0;                  // handle of the registered conduit, 0 = none
    std::uint32_t m_lastRegistration = 0;            // last handle given out
    HotSyncLogSink m_sink = nullptr;                 // receives log lines
    void* m_sinkContext = nullptr;                   // handed to m_sink
    std::string m_programPath;                       // the HotSync program's path
    std::set<std::uint32_t> m_palmCmnUsers;          // values handed out by PalmCmnSetUp
    std::uint32_t m_lastPalmCmnValue = 0;            // last value handed out
};

}  // namespace palm
