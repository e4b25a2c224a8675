// The reasons of the engine's result codes and of a desktop database failure.
#include "conduit/sync/SyncResultText.h"

#include "conduit/sync/CSyncContext.h"
#include "dbaccess/AdoFailure.h"

namespace {

struct Reason {
    std::int32_t code;   // a CSyncContext result code
    const char* text;    // why the synchronisation stopped, for the HotSync log
};

constexpr Reason kReasons[] = {
    {CSyncContext::kNoBuiltInCategory,
     "the desktop has no expense category of the tax type (0), which the handheld needs"},
    {CSyncContext::kCreateFailed, "a lookup database could not be created on the handheld"},
    {CSyncContext::kTableOpenFailed, "a desktop table could not be opened"},
    {CSyncContext::kWriteFailed, "a record could not be written to a lookup database on the handheld"},
    {CSyncContext::kRemoveFailed, "the old records of a lookup database on the handheld could not be removed"},
    {CSyncContext::kMarkFailed, "the desktop database could not record that the lookup tables were sent"},
    {CSyncContext::kDatabaseOpenFailed, "the desktop database could not be opened"},
    {CSyncContext::kVersionCheckFailed, "the desktop database is not a Quillmar database this conduit can use"},
    {CSyncContext::kReadFailed, "an expense record on the handheld could not be read"},
    {CSyncContext::kDamagedRecord, "an expense record on the handheld is damaged (named above); nothing was imported"},
    {CSyncContext::kAddNewFailed, "a new expense could not be started in the desktop database"},
    {CSyncContext::kStoreFailed, "an expense from the handheld could not be stored in the desktop database"},
    {CSyncContext::kBeginFailed, "the desktop database could not start its transaction"},
    {CSyncContext::kCommitFailed, "the desktop database could not commit the imported expenses"},
    {CSyncContext::kNoRows, "the desktop has no accounts, or no active projects, to send to the handheld"},
};

}  // namespace

const char* SyncResultText(std::int32_t code)
{
    for (const Reason& reason : kReasons)
        if (reason.code == code)
            return reason.text;
    return nullptr;
}

std::string DesktopFailureText(const AdoFailure& failure)
{
    if (failure.IsEmpty())
        return {};
    if (failure.IsLockedByAnother())
        return "the desktop database is in use by another program; try again when it has finished (" +
               failure.description + ")";
    return failure.description;
}
