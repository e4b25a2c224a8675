// The host's calls and the small libraries beside the Sync Manager: connecting a handheld and
// holding it against other hosts, registration, the log sink, PalmCmn's kept value, the HotSync
// program's path and the user name.
#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/palm/CondMgr.h"
#include "platform/palm/HSLog.h"
#include "platform/palm/HotSyncHost.h"
#include "platform/palm/PalmBytes.h"
#include "platform/palm/PalmCmn.h"
#include "platform/palm/SyncMgr.h"
#include "tests/support/TestHandheld.h"

TEST(HotSyncHost, ConnectsOnlyADirectory)
{
    TempDir dir;
    writeFile(dir.file("plain"), "x");
    EXPECT_EQ(HotSyncConnect(nullptr), SYNCERR_BAD_ARGUMENT);
    EXPECT_EQ(HotSyncConnect(""), SYNCERR_BAD_ARGUMENT);
    EXPECT_EQ(HotSyncConnect(dir.file("plain").c_str()), SYNCERR_NOT_FOUND);
    EXPECT_EQ(HotSyncConnect(dir.file("missing").c_str()), SYNCERR_NOT_FOUND);
    EXPECT_EQ(HotSyncConnect(dir.path().c_str()), SYNCERR_NONE);
    HotSyncDisconnect();
    std::uint32_t handle = 0;
    EXPECT_EQ(SyncRegisterConduit(&handle), SYNCERR_NOT_CONNECTED);
}

namespace {

// Whether another HotSync could lock the directory now (its lock is taken and given back).
bool OtherHostCouldLock(const std::string& directory)
{
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    EXPECT_GE(fd, 0);
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return locked;
}

}  // namespace

TEST(HotSyncHost, AConnectionHoldsTheHandheldAgainstOtherHosts)
{
    TempDir dir;
    ASSERT_EQ(HotSyncConnect(dir.path().c_str()), SYNCERR_NONE);
    EXPECT_FALSE(OtherHostCouldLock(dir.path())) << "held while connected";
    HotSyncDisconnect();
    EXPECT_TRUE(OtherHostCouldLock(dir.path())) << "released by the disconnection";

    const int other = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);  // another host
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(HotSyncConnect(dir.path().c_str()), SYNCERR_HANDHELD_BUSY);
    std::uint32_t handle = 0;
    EXPECT_EQ(SyncRegisterConduit(&handle), SYNCERR_NOT_CONNECTED) << "nothing is connected";
    ::close(other);
    EXPECT_EQ(HotSyncConnect(dir.path().c_str()), SYNCERR_NONE) << "free again once the other has finished";
    HotSyncDisconnect();
}

TEST(HotSyncHost, TheLockHolderRemovesTemporaryFilesAKilledHotSyncLeft)
{
    TempDir dir;
    const char* const left[] = {".Qlmr-Expenses.pdb.u1z9mx", ".Saved Preferences.prc.Ab12Cd"};
    const char* const kept[] = {".notes.txt.abcdef", ".Qlmr-Expenses.pdb.x", "Qlmr-Expenses.pdb.u1z9mx"};
    for (const char* name : left)
        writeFile(dir.file(name), "half written");
    for (const char* name : kept)
        writeFile(dir.file(name), "not ours");
    ASSERT_EQ(HotSyncConnect(dir.path().c_str()), SYNCERR_NONE);
    HotSyncDisconnect();
    for (const char* name : left)
        EXPECT_FALSE(fileExists(dir.file(name))) << name;
    for (const char* name : kept)
        EXPECT_TRUE(fileExists(dir.file(name))) << name;
}

TEST(HotSyncHost, RegistersOneConduitAtATime)
{
    TestHandheld hh;
    std::uint32_t first = 0, second = 0;
    EXPECT_EQ(SyncRegisterConduit(nullptr), SYNCERR_BAD_ARGUMENT);
    ASSERT_EQ(SyncRegisterConduit(&first), SYNCERR_NONE);
    EXPECT_NE(first, 0u);
    EXPECT_EQ(SyncRegisterConduit(&second), SYNCERR_ALREADY_REGISTERED);
    EXPECT_EQ(SyncUnRegisterConduit(first + 1), SYNCERR_BAD_HANDLE);
    EXPECT_EQ(SyncUnRegisterConduit(first), SYNCERR_NONE);
    EXPECT_EQ(SyncUnRegisterConduit(first), SYNCERR_BAD_HANDLE);
    ASSERT_EQ(SyncRegisterConduit(&second), SYNCERR_NONE);
    EXPECT_NE(second, first);
    HotSyncDisconnect();
    EXPECT_EQ(SyncUnRegisterConduit(second), SYNCERR_BAD_HANDLE) << "disconnecting ends the registration";
}

TEST(HotSyncHost, LogLinesReachTheSinkInOrder)
{
    TestHandheld hh;
    EXPECT_EQ(LogAddEntry("", HSLOG_SYNC_STARTED, 0), SYNCERR_NONE);
    EXPECT_EQ(LogAddEntry("--> Quillmar - expense Open failed", HSLOG_TEXT, 0), SYNCERR_NONE);
    EXPECT_EQ(LogAddEntry(nullptr, HSLOG_TEXT, 0), SYNCERR_BAD_ARGUMENT);
    EXPECT_EQ(hh.m_log, (std::vector<LogLine>{{"", 19}, {"--> Quillmar - expense Open failed", -1}}));

    HotSyncSetLogSink(nullptr, nullptr);
    EXPECT_EQ(LogAddEntry("dropped", HSLOG_TEXT, 0), SYNCERR_NONE);
    EXPECT_EQ(hh.m_log.size(), 2u);
}

TEST(HotSyncHost, PalmCmnHandsBackAValueToKeep)
{
    std::uint32_t users = 0;
    const std::uint32_t first = PalmCmnSetUp("Quillsync.dll", nullptr, &users);
    const std::uint32_t usersAfterFirst = users;
    const std::uint32_t second = PalmCmnSetUp("Other.dll", nullptr, &users);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(users, usersAfterFirst + 1);
    PalmCmnCleanUp(first, nullptr);
    PalmCmnCleanUp(first, nullptr);  // a second clean-up of the same value changes nothing
    PalmCmnCleanUp(0xDEADBEEF, nullptr);
    const std::uint32_t third = PalmCmnSetUp("Quillsync.dll", nullptr, &users);
    EXPECT_EQ(users, usersAfterFirst + 1);
    EXPECT_EQ(PalmCmnSetUp("", nullptr, &users), 0u);
    EXPECT_EQ(PalmCmnSetUp(nullptr, nullptr, nullptr), 0u);
    PalmCmnCleanUp(second, nullptr);
    PalmCmnCleanUp(third, nullptr);
}

TEST(HotSyncHost, ReportsTheHotSyncProgramPath)
{
    char buffer[260];
    std::int32_t size = sizeof buffer;
    ASSERT_EQ(HotSyncSetProgramPath(nullptr), SYNCERR_NONE);
    EXPECT_EQ(CmGetHotSyncExecPath(buffer, &size), SYNCERR_NOT_FOUND);

    ASSERT_EQ(HotSyncSetProgramPath("/opt/palm/HotSync.exe"), SYNCERR_NONE);
    EXPECT_EQ(CmGetHotSyncExecPath(buffer, &size), SYNCERR_NONE);
    EXPECT_STREQ(buffer, "/opt/palm/HotSync.exe");

    char small[8];
    std::memset(small, 'z', sizeof small);
    size = sizeof small;
    EXPECT_EQ(CmGetHotSyncExecPath(small, &size), SYNCERR_BUFFER_TOO_SMALL);
    EXPECT_EQ(size, 22);
    EXPECT_EQ(small[0], 'z');
    size = 0;
    EXPECT_EQ(CmGetHotSyncExecPath(buffer, &size), SYNCERR_BAD_ARGUMENT);
    EXPECT_EQ(CmGetHotSyncExecPath(nullptr, &size), SYNCERR_BAD_ARGUMENT);
    EXPECT_EQ(HotSyncSetProgramPath(std::string(260, 'p').c_str()), SYNCERR_BAD_ARGUMENT);
    EXPECT_EQ(HotSyncSetProgramPath(nullptr), SYNCERR_NONE);
}

TEST(HotSyncHost, ReadsTheUserNameOfTheHandheld)
{
    char name[32];
    std::uint32_t size = sizeof name;
    {
        TestHandheld hh;
        EXPECT_EQ(HotSyncGetUserName(name, &size), SYNCERR_NOT_FOUND);
        auto user = palm::PalmDatabaseFile::Create("HotSync User", palm::FourCC("user"), palm::FourCC("psys"),
                                                   palm::kAttrResDB);
        user.PutResource(palm::FourCC("user"), 0, textBytes(std::string("Ada Lovelace") + '\0'));
        hh.put(user);
        EXPECT_EQ(HotSyncGetUserName(name, &size), SYNCERR_NONE);
        EXPECT_STREQ(name, "Ada Lovelace");
        std::uint32_t tiny = 4;
        EXPECT_EQ(HotSyncGetUserName(name, &tiny), SYNCERR_BUFFER_TOO_SMALL);
        EXPECT_EQ(tiny, 13u);
    }
    EXPECT_EQ(HotSyncGetUserName(name, &size), SYNCERR_NOT_CONNECTED);
}

TEST(HotSyncHost, AHandheldIsGivenAHotSyncIDOnceAndKeepsIt)
{
    std::uint32_t id = 0, again = 0, other = 0;
    EXPECT_EQ(HotSyncGetUserID(&id), SYNCERR_NOT_CONNECTED);
    TestHandheld hh;
    hh.putUser("Ann");
    EXPECT_EQ(HotSyncGetUserID(nullptr), SYNCERR_BAD_ARGUMENT);
    ASSERT_EQ(HotSyncGetUserID(&id), SYNCERR_NONE);
    EXPECT_NE(id, 0u);
    ASSERT_EQ(HotSyncGetUserID(&again), SYNCERR_NONE);
    EXPECT_EQ(again, id);
    char name[16];
    std::uint32_t size = sizeof name;
    ASSERT_EQ(HotSyncGetUserName(name, &size), SYNCERR_NONE);
    EXPECT_STREQ(name, "Ann") << "the name stays beside the ID";
    {
        TestHandheld second;  // without "HotSync User": one is made for the ID
        ASSERT_EQ(HotSyncGetUserID(&other), SYNCERR_NONE);
        EXPECT_NE(other, id);
        EXPECT_TRUE(second.has("HotSync User"));
        writeFile(second.file("HotSync User.prc"), "damaged");
        EXPECT_EQ(HotSyncGetUserID(&other), SYNCERR_FILE_CORRUPT);
    }
    hh.connect();
    ASSERT_EQ(HotSyncGetUserID(&again), SYNCERR_NONE);
    EXPECT_EQ(again, id);
}

TEST(HotSyncHost, NamesTheFileLastRefusedAsDamaged)
{
    char path[512];
    std::uint32_t size = sizeof path;
    TestHandheld hh;
    EXPECT_EQ(HotSyncGetDamagedFile(path, &size), SYNCERR_NOT_FOUND);
    writeFile(hh.file("Saved Preferences.prc"), "not a database");
    std::uint8_t block[12];
    SyncPreferenceInfo info{};
    info.dwCreator = palm::FourCC("Qlmr");
    info.pBytes = block;
    info.wSize = sizeof block;
    info.bSaved = 1;
    ASSERT_EQ(SyncReadAppPreference(&info), SYNCERR_FILE_CORRUPT);
    EXPECT_EQ(HotSyncGetDamagedFile(path, &size), SYNCERR_NONE);
    EXPECT_EQ(std::string(path), hh.file("Saved Preferences.prc"));

    ASSERT_EQ(HotSyncConnect(hh.path().c_str()), SYNCERR_NONE);
    EXPECT_EQ(HotSyncGetDamagedFile(path, &size), SYNCERR_NOT_FOUND) << "forgotten with the connection";
}
