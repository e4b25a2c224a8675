// The Sync Manager's result codes in words.
#include "tools/hotsync/SyncErrorText.h"

#include "platform/palm/SyncMgr.h"

namespace {

struct Reason {
    std::int32_t code;   // a SYNCERR_ code
    const char* text;    // what it means to the person running the HotSync
};

constexpr Reason kReasons[] = {
    {SYNCERR_NOT_CONNECTED, "no handheld is connected"},
    {SYNCERR_BAD_ARGUMENT, "the conduit made a Sync Manager call with an argument it cannot use"},
    {SYNCERR_NOT_FOUND, "a handheld database, record or preference was not found"},
    {SYNCERR_FILE_CORRUPT, "a handheld database file is damaged"},
    {SYNCERR_FILE_IO, "a handheld file could not be read, written or replaced"},
    {SYNCERR_TOO_MANY_OPEN, "too many handheld databases are open"},
    {SYNCERR_ALREADY_EXISTS, "a handheld database of that name exists already"},
    {SYNCERR_WRONG_MODE, "a handheld database was not opened for that kind of access"},
    {SYNCERR_WRONG_KIND, "a record call was made on a resource database, or the reverse"},
    {SYNCERR_BUFFER_TOO_SMALL, "a handheld record or resource is larger than the conduit's buffer"},
    {SYNCERR_PREF_SIZE, "a handheld preference does not have the size the conduit expects"},
    {SYNCERR_DB_OPEN, "a handheld database is open already"},
    {SYNCERR_BAD_HANDLE, "a handheld database was used that is not open (its open failed)"},
    {SYNCERR_TOO_LARGE, "a handheld record or database is too large"},
    {SYNCERR_ALREADY_REGISTERED, "another conduit is registered"},
    {SYNCERR_HANDHELD_BUSY, "another HotSync holds the handheld"},
};

}  // namespace

std::string SyncErrorText(std::int32_t code, const std::string& file)
{
    if (code == SYNCERR_FILE_CORRUPT && !file.empty())
        return "the handheld database file " + file + " is damaged";
    if (code == SYNCERR_FILE_IO && !file.empty())
        return "the handheld database file " + file + " could not be saved";
    for (const Reason& reason : kReasons)
        if (reason.code == code)
            return reason.text;
    return {};
}
