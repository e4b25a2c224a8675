// The connection state behind libpalmsync's C calls (the database and record calls are in
// HandheldRecords.cpp, the preference calls in HandheldPreferences.cpp).
#include "platform/palm/HandheldSession.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>
#include <unistd.h>

#include "platform/fs/TemporaryFile.h"
#include "platform/palm/PalmBytes.h"

namespace palm {

namespace {

// Temporary database files a HotSync killed before its rename left in the handheld's folder. Only
// the holder of the folder's lock writes there, so none of them is being written.
void RemoveLeftovers(const std::string& directory)
{
    files::TemporaryFile::RemoveLeftovers(directory, [](const std::string& target) {
        const std::filesystem::path extension = std::filesystem::path(target).extension();
        return extension == ".pdb" || extension == ".prc";
    });
}

constexpr const char* kUserDatabase = "HotSync User";
constexpr std::uint32_t kUserResourceType = FourCC("user");
constexpr std::uint32_t kUserIDResourceType = FourCC("hsid");
constexpr std::size_t kMaxProgramPath = 260;          // the Conduit Manager's buffer, NUL included

bool IsFile(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

HandheldSession& HandheldSession::Instance()
{
    static HandheldSession session;
    return session;
}

// ---- host side --------------------------------------------------------------------------------

std::int32_t HandheldSession::Connect(const char* pszDirectory)
{
    if (!pszDirectory || !*pszDirectory)
        return SYNCERR_BAD_ARGUMENT;
    std::error_code ec;
    if (!std::filesystem::is_directory(pszDirectory, ec))
        return SYNCERR_NOT_FOUND;
    std::lock_guard lock(m_lock);
    DisconnectLocked();
    switch (m_handheldLock.Acquire(pszDirectory)) {
    case HandheldLock::Result::Held: break;
    case HandheldLock::Result::Busy: return SYNCERR_HANDHELD_BUSY;
    case HandheldLock::Result::Failed: return SYNCERR_FILE_IO;
    }
    m_directory = pszDirectory;
    RemoveLeftovers(m_directory);
    return SYNCERR_NONE;
}

void HandheldSession::Disconnect()
{
    std::lock_guard lock(m_lock);
    DisconnectLocked();
}

void HandheldSession::DisconnectLocked()
{
    CloseAll(false);
    m_registered = 0;
    m_directory.clear();
    m_damagedFile.clear();
    m_unsavedFile.clear();
    m_handheldLock.Release();
}

void HandheldSession::SetLogSink(HotSyncLogSink sink, void* pContext)
{
    std::lock_guard lock(m_lock);
    m_sink = sink;
    m_sinkContext = pContext;
}

std::int32_t HandheldSession::SetProgramPath(const char* pszPath)
{
    const std::string path = pszPath ? pszPath : "";
    if (path.size() >= kMaxProgramPath)
        return SYNCERR_BAD_ARGUMENT;
    std::lock_guard lock(m_lock);
    m_programPath = path;
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::CopyOut(const std::string& text, char* pBuffer, std::int32_t* piSize) const
{
    if (!pBuffer || !piSize || *piSize < 1)
        return SYNCERR_BAD_ARGUMENT;
    if (text.empty())
        return SYNCERR_NOT_FOUND;
    if (text.size() + 1 > static_cast<std::size_t>(*piSize)) {
        *piSize = static_cast<std::int32_t>(text.size() + 1);
        return SYNCERR_BUFFER_TOO_SMALL;
    }
    std::memcpy(pBuffer, text.c_str(), text.size() + 1);
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::CheckTextRequest(const std::uint32_t* pdwSize) const
{
    if (m_directory.empty())
        return SYNCERR_NOT_CONNECTED;
    if (!pdwSize || *pdwSize > 0x7FFFFFFFu)
        return SYNCERR_BAD_ARGUMENT;
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::CopyOut(const std::string& text, char* pBuffer, std::uint32_t* pdwSize) const
{
    auto size = static_cast<std::int32_t>(*pdwSize);
    const std::int32_t result = CopyOut(text, pBuffer, &size);
    *pdwSize = static_cast<std::uint32_t>(size);
    return result;
}

std::int32_t HandheldSession::GetDamagedFile(char* pszPath, std::uint32_t* pdwSize)
{
    std::lock_guard lock(m_lock);
    if (const std::int32_t refused = CheckTextRequest(pdwSize); refused != SYNCERR_NONE)
        return refused;
    return CopyOut(m_damagedFile, pszPath, pdwSize);
}

std::int32_t HandheldSession::GetUnsavedFile(char* pszPath, std::uint32_t* pdwSize)
{
    std::lock_guard lock(m_lock);
    if (const std::int32_t refused = CheckTextRequest(pdwSize); refused != SYNCERR_NONE)
        return refused;
    return CopyOut(m_unsavedFile, pszPath, pdwSize);
}

std::int32_t HandheldSession::LoadUserDatabase(std::string& path, PalmDatabaseFile& file) const
{
    const std::int32_t found = FindAndLoad(kUserDatabase, path, file);
    if (found == SYNCERR_NONE && !file.IsResourceDatabase())
        return Damaged(path);
    return found;
}

std::int32_t HandheldSession::GetUserName(char* pszName, std::uint32_t* pdwSize)
{
    std::lock_guard lock(m_lock);
    if (const std::int32_t refused = CheckTextRequest(pdwSize); refused != SYNCERR_NONE)
        return refused;
    std::string path;
    PalmDatabaseFile file;
    if (const std::int32_t result = LoadUserDatabase(path, file); result != SYNCERR_NONE)
        return result;
    const PalmResource* resource = file.FindResource(kUserResourceType, 0);
    if (!resource)
        return SYNCERR_NOT_FOUND;
    const auto nul = std::find(resource->data.begin(), resource->data.end(), std::uint8_t(0));
    return CopyOut(std::string(resource->data.begin(), nul), pszName, pdwSize);
}

std::int32_t HandheldSession::GetUserID(std::uint32_t* pdwID)
{
    if (!pdwID)
        return SYNCERR_BAD_ARGUMENT;
    std::lock_guard lock(m_lock);
    if (m_directory.empty())
        return SYNCERR_NOT_CONNECTED;
    std::string path;
    PalmDatabaseFile file;
    if (const std::int32_t found = LoadUserDatabase(path, file); found == SYNCERR_NOT_FOUND) {
        file = PalmDatabaseFile::Create(kUserDatabase, kUserResourceType, FourCC("psys"), kAttrResDB);
        path = PathOf(kUserDatabase, true);
    } else if (found != SYNCERR_NONE) {
        return found;
    }
    if (const PalmResource* id = file.FindResource(kUserIDResourceType, 0)) {
        if (id->data.size() != 4)
            return Damaged(path);
        *pdwID = Get4(id->data.data());
        return SYNCERR_NONE;
    }
    // A first HotSync of this handheld: it gets an ID of its own, kept from now on.
    std::random_device random;
    std::uint32_t fresh = 0;
    while (fresh == 0)
        fresh = random();
    std::vector<std::uint8_t> bytes(4);
    Put4(bytes.data(), fresh);
    std::string error;
    if (!file.PutResource(kUserIDResourceType, 0, std::move(bytes)) || !file.Save(path, error))
        return SYNCERR_FILE_IO;
    *pdwID = fresh;
    return SYNCERR_NONE;
}

// ---- registration -----------------------------------------------------------------------------

std::int32_t HandheldSession::Register(std::uint32_t* pHandle)
{
    if (!pHandle)
        return SYNCERR_BAD_ARGUMENT;
    std::lock_guard lock(m_lock);
    if (m_directory.empty())
        return SYNCERR_NOT_CONNECTED;
    if (m_registered != 0)
        return SYNCERR_ALREADY_REGISTERED;
    if (++m_lastRegistration == 0)
        m_lastRegistration = 1;
    m_registered = m_lastRegistration;
    *pHandle = m_registered;
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::Unregister(std::uint32_t handle)
{
    std::lock_guard lock(m_lock);
    if (handle == 0 || handle != m_registered)
        return SYNCERR_BAD_HANDLE;
    const std::int32_t saved = CloseAll(true);
    m_registered = 0;
    return saved;
}

// ---- database files ---------------------------------------------------------------------------

std::int32_t HandheldSession::CheckName(const char* pszName, std::int32_t iCardNum) const
{
    if (!pszName)
        return SYNCERR_BAD_ARGUMENT;
    if (m_directory.empty())
        return SYNCERR_NOT_CONNECTED;
    const std::string_view name(pszName);
    if (name.empty() || name.size() > kMaxNameLength || name == "." || name == "..")
        return SYNCERR_BAD_ARGUMENT;
    for (const char c : name)
        if (c < 0x20 || c > 0x7E || c == '/')
            return SYNCERR_BAD_ARGUMENT;
    if (iCardNum != 0)
        return SYNCERR_NOT_FOUND;  // the handheld has one memory card
    return SYNCERR_NONE;
}

std::string HandheldSession::PathOf(const std::string& name, bool resource) const
{
    return m_directory + "/" + name + (resource ? ".prc" : ".pdb");
}

std::int32_t HandheldSession::FindFile(const std::string& name, std::string& path) const
{
    const std::string records = PathOf(name, false);
    const std::string resources = PathOf(name, true);
    const bool haveRecords = IsFile(records);
    const bool haveResources = IsFile(resources);
    if (haveRecords && haveResources)
        return Damaged(resources);  // database names are unique on a handheld
    if (!haveRecords && !haveResources)
        return SYNCERR_NOT_FOUND;
    path = haveRecords ? records : resources;
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::LoadFile(const std::string& name, const std::string& path, PalmDatabaseFile& file) const
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return Damaged(path);
    std::string error;
    bool readFailed = false;
    if (!PalmDatabaseFile::Load(path, file, error, &readFailed))
        return readFailed ? SYNCERR_FILE_IO : Damaged(path);
    const bool resourceFile = path.size() > 4 && path.compare(path.size() - 4, 4, ".prc") == 0;
    if (file.IsResourceDatabase() != resourceFile || file.m_header.name != name)
        return Damaged(path);
    return SYNCERR_NONE;
}

std::int32_t HandheldSession::FindAndLoad(const std::string& name, std::string& path, PalmDatabaseFile& file) const
{
    const std::int32_t found = FindFile(name, path);
    return found == SYNCERR_NONE ? LoadFile(name, path, file) : found;
}

std::int32_t HandheldSession::Damaged(const std::string& path) const
{
    m_damagedFile = path;
    return SYNCERR_FILE_CORRUPT;
}

bool HandheldSession::IsOpen(const std::string& name) const
{
    return std::any_of(m_open.begin(), m_open.end(), [&](const auto& entry) { return entry.second.name == name; });
}

std::uint8_t HandheldSession::FreeHandle() const
{
    for (int handle = 1; handle <= kMaxOpenDatabases; ++handle)
        if (!m_open.count(static_cast<std::uint8_t>(handle)))
            return static_cast<std::uint8_t>(handle);
    return 0;
}

HandheldSession::OpenDatabase* HandheldSession::Lookup(std::uint8_t hDB)
{
    const auto found = m_open.find(hDB);
    return found == m_open.end() ? nullptr : &found->second;
}

std::int32_t HandheldSession::SaveAndForget(std::uint8_t hDB)
{
    OpenDatabase* db = Lookup(hDB);
    if (!db)
        return SYNCERR_BAD_HANDLE;
    std::int32_t result = SYNCERR_NONE;
    if (db->changed) {
        PalmDatabaseHeader& header = db->file.m_header;
        header.modificationDate = PalmTimeNow();
        ++header.modificationNumber;
        std::string error;
        if (!db->file.Save(db->path, error)) {
            result = SYNCERR_FILE_IO;
            m_unsavedFile = db->path;
        }
    }
    m_open.erase(hDB);
    return result;
}

std::int32_t HandheldSession::CloseAll(bool save)
{
    std::int32_t result = SYNCERR_NONE;
    if (save) {
        // Every database is closed; the first save that failed is what the caller hears of.
        while (!m_open.empty()) {
            const std::int32_t saved = SaveAndForget(m_open.begin()->first);
            if (result == SYNCERR_NONE)
                result = saved;
        }
    }
    m_open.clear();
    return result;
}

// ---- log, PalmCmn, Conduit Manager ------------------------------------------------------------

std::int32_t HandheldSession::AddLogEntry(const char* pszText, std::int32_t activity, std::int32_t bTimeStamp)
{
    if (!pszText)
        return SYNCERR_BAD_ARGUMENT;
    HotSyncLogSink sink = nullptr;
    void* context = nullptr;
    {
        std::lock_guard lock(m_lock);
        sink = m_sink;
        context = m_sinkContext;
    }
    if (sink)
        sink(context, pszText, activity, bTimeStamp);  // outside the lock: the sink may call back
    return SYNCERR_NONE;
}

std::uint32_t HandheldSession::PalmCmnSetUp(const char* pszFileName, std::uint32_t* pdwUsers)
{
    if (!pszFileName || !*pszFileName)
        return 0;
    std::lock_guard lock(m_lock);
    do {
        ++m_lastPalmCmnValue;
    } while (m_lastPalmCmnValue == 0 || m_palmCmnUsers.count(m_lastPalmCmnValue));
    m_palmCmnUsers.insert(m_lastPalmCmnValue);
    if (pdwUsers)
        *pdwUsers = static_cast<std::uint32_t>(m_palmCmnUsers.size());
    return m_lastPalmCmnValue;
}

void HandheldSession::PalmCmnCleanUp(std::uint32_t dwKept)
{
    std::lock_guard lock(m_lock);
    m_palmCmnUsers.erase(dwKept);
}

std::int32_t HandheldSession::GetProgramPath(char* pszPath, std::int32_t* piSize)
{
    std::lock_guard lock(m_lock);
    return CopyOut(m_programPath, pszPath, piSize);
}

}  // namespace palm
