// Replacing a file: the new bytes arrive whole, every failure (a writer that throws, a folder
// that is missing, read-only or no folder, a target that is a folder) keeps the old target,
// leaves no temporary file or journal, and says why; a new file's mode follows the umask and a
// rewritten one keeps the mode it had.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs/SafeReplace.h"
#include "tests/support/ScopedUmask.h"
#include "tests/support/TempDir.h"

using files::SafeReplace;
using files::TemporaryFile;

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// Permission checks as an ordinary user for the thread's file calls, so a read-only folder
// refuses a superuser too (changing the file-system user drops the override capabilities).
class OrdinaryUser {
public:
    OrdinaryUser() : m_previous(::setfsuid(kNobody)) {}
    ~OrdinaryUser() { ::setfsuid(m_previous); }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

private:
    static constexpr uid_t kNobody = 65534;
    int m_previous;  // the file-system user before
};

enum class Outcome { Replaced, Refused, WriterThrew };

struct Case {
    const char* name;                                   // what is tried
    const char* target;                                 // relative to the test folder
    std::function<void(const std::string&)> arrange;    // prepares the test folder
    SafeReplace::Writer writer;                         // fills the temporary file
    bool asOrdinaryUser;                                // run the replace under OrdinaryUser
    Outcome outcome;                                    // what replace() does
    const char* reason;                                 // part of the error or exception text
};

void writeNew(const TemporaryFile& file) { file.write(bytesOf("new contents")); }

void keepOld(const std::string& folder) { writeFile(folder + "/target.db", "old contents"); }

}  // namespace

TEST(SafeReplace, ReplacesWholeOrNotAtAll)
{
    const std::vector<Case> cases = {
        {"an existing file is replaced", "target.db", keepOld, writeNew, false, Outcome::Replaced, ""},
        {"a missing file is created", "target.db", [](const std::string&) {}, writeNew, false, Outcome::Replaced, ""},
        {"a writer that throws", "target.db", keepOld,
         [](const TemporaryFile& file) {
             file.write(bytesOf("half"));
             throw std::runtime_error("writer failed");
         },
         false, Outcome::WriterThrew, "writer failed"},
        {"a writer that leaves a journal and throws", "target.db", keepOld,
         [](const TemporaryFile& file) {
             writeFile(file.path() + "-journal", "journal");
             throw std::runtime_error("engine failed");
         },
         false, Outcome::WriterThrew, "engine failed"},
        {"a missing folder", "missing/target.db", keepOld, writeNew, false, Outcome::Refused,
         "No such file or directory"},
        {"a folder that is a file", "target.db/inner.db", keepOld, writeNew, false, Outcome::Refused,
         "Not a directory"},
        {"a target that is a folder", "folder",
         [](const std::string& folder) {
             std::filesystem::create_directory(folder + "/folder");
             writeFile(folder + "/folder/kept", "kept");
         },
         writeNew, false, Outcome::Refused, "Is a directory"},
        {"a read-only folder", "locked/target.db",
         [](const std::string& folder) {
             std::filesystem::create_directory(folder + "/locked");
             writeFile(folder + "/locked/target.db", "old contents");
             ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);  // the ordinary user may enter the test folder
             ASSERT_EQ(::chmod((folder + "/locked").c_str(), 0555), 0);
         },
         writeNew, true, Outcome::Refused, "Permission denied"},
    };

    const ScopedUmask umask(022);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        c.arrange(dir.path());
        const std::string target = dir.file(c.target);
        const std::map<std::string, std::string> before = folderContents(dir.path());

        std::string error;
        std::string thrown;
        bool replaced = false;
        {
            std::optional<OrdinaryUser> user;
            if (c.asOrdinaryUser)
                user.emplace();
            try {
                replaced = SafeReplace::replace(target, c.writer, error);
            } catch (const std::runtime_error& failure) {
                thrown = failure.what();
            }
        }

        std::map<std::string, std::string> expected = before;
        switch (c.outcome) {
        case Outcome::Replaced: {
            ASSERT_TRUE(replaced) << error;
            struct stat info {};
            ASSERT_EQ(::stat(target.c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, 0644u);
            expected[c.target] = "new contents";
            break;
        }
        case Outcome::WriterThrew:
            EXPECT_FALSE(replaced);
            EXPECT_NE(thrown.find(c.reason), std::string::npos) << "the writer's failure is passed on: " << thrown;
            break;
        case Outcome::Refused:
            EXPECT_FALSE(replaced);
            EXPECT_EQ(thrown, "");
            EXPECT_NE(error.find(c.reason), std::string::npos) << error;
            break;
        }
        EXPECT_EQ(folderContents(dir.path()), expected)
            << "the target is replaced whole or untouched; no temporary file or journal is left";
        if (std::filesystem::is_directory(dir.file("locked")))
            ::chmod(dir.file("locked").c_str(), 0755);  // so the folder can be removed
    }
}

TEST(SafeReplace, NewFilesFollowTheUmaskAndRewrittenOnesKeepTheirMode)
{
    struct ModeCase {
        mode_t umask;             // the process's umask while replacing
        mode_t existing;          // mode of the file replaced; 0 when there is none
        SafeReplace::Mode mode;   // how the caller replaces it
        mode_t expected;          // mode of the new file
    };
    const ModeCase cases[] = {
        {022, 0, SafeReplace::Mode::KeepReplaced, 0644},
        {077, 0, SafeReplace::Mode::KeepReplaced, 0600},
        {022, 0600, SafeReplace::Mode::KeepReplaced, 0600},
        {077, 0644, SafeReplace::Mode::KeepReplaced, 0644},
        {022, 0640, SafeReplace::Mode::New, 0644},
        {077, 0644, SafeReplace::Mode::New, 0600},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << std::oct << "umask " << c.umask << ", existing " << c.existing);
        TempDir dir;
        const std::string target = dir.file("target.pdb");
        if (c.existing != 0) {
            writeFile(target, "old contents");
            ASSERT_EQ(::chmod(target.c_str(), c.existing), 0);
        }
        const ScopedUmask umask(c.umask);
        std::string error;
        ASSERT_TRUE(SafeReplace::replace(target, writeNew, error, c.mode)) << error;
        EXPECT_EQ(fileMode(target.c_str()), c.expected);
        EXPECT_EQ(readFile(target), "new contents");
    }
}
