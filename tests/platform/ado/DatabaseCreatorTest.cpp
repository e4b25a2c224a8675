// New database files from a script: the file holds what the script and the fill wrote, with the
// usual mode, and every refusal or failure leaves the folder as it was (an existing file kept,
// no temporary file or journal beside it) and says why.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "platform/ado/DatabaseCreator.h"
#include "platform/ado/Error.h"
#include "platform/ado/SqliteHandle.h"
#include "tests/support/TestDatabase.h"

using ado::DatabaseCreator;

namespace {

constexpr const char* kScript = "CREATE TABLE Things (Name TEXT); INSERT INTO Things VALUES ('script');";

enum class Before { Nothing, OldFile, Folder };

struct Case {
    const char* name;              // what is tried
    const char* target;            // relative to the test folder
    Before before;                 // what the target is beforehand
    bool overwrite;                // replace an existing file
    const char* script;            // the SQL the new file is made from
    DatabaseCreator::Fill fill;    // rows added after the script
    const char* rows;              // the Things rows of the new file, or "" when it must fail
    const char* failure;           // part of the error's description when it fails
};

std::string connection(const std::string& path) { return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path; }

void addRow(sqlite3* db) { ado::executeSql(db, "INSERT INTO Things VALUES ('fill')"); }

void failingFill(sqlite3* db)
{
    addRow(db);
    ado::executeSql(db, "INSERT INTO Nowhere VALUES (1)");
}

}  // namespace

TEST(DatabaseCreator, WritesTheWholeFileOrNothing)
{
    const std::vector<Case> cases = {
        {"a new file", "new.mdb", Before::Nothing, false, kScript, {}, "script", ""},
        {"a new file with rows added", "new.mdb", Before::Nothing, false, kScript, addRow, "script,fill", ""},
        {"an existing file replaced when asked", "old.mdb", Before::OldFile, true, kScript, {}, "script", ""},
        {"an existing file not to be replaced", "old.mdb", Before::OldFile, false, kScript, {}, "", "already exists"},
        {"a folder", "old.mdb", Before::Folder, true, kScript, {}, "", "is a folder"},
        {"no file named", "", Before::Nothing, true, kScript, {}, "", "No database file was named"},
        {"a script that cannot be read", "old.mdb", Before::OldFile, true, "CREATE TABLE (", {}, "", "syntax error"},
        {"a fill that fails", "old.mdb", Before::OldFile, true, kScript, failingFill, "", "no such table: Nowhere"},
        {"a missing folder", "missing/new.mdb", Before::Nothing, true, kScript, {}, "", "No such file or directory"},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string target = *c.target ? dir.file(c.target) : "";
        if (c.before == Before::OldFile)
            writeFile(target, "old contents");
        if (c.before == Before::Folder)
            std::filesystem::create_directory(target);
        const auto before = folderContents(dir.path());

        std::string failure;
        try {
            DatabaseCreator::createDatabase(connection(target), c.script, c.overwrite, c.fill);
        } catch (const ado::Error& error) {
            failure = error.description();
        }

        if (*c.rows == '\0') {
            EXPECT_NE(failure.find(c.failure), std::string::npos) << failure;
            EXPECT_EQ(folderContents(dir.path()), before) << "nothing changed, nothing left behind";
            continue;
        }
        ASSERT_EQ(failure, "");
        EXPECT_EQ(TestDatabase::scalarAt(target, "SELECT group_concat(Name) FROM Things"), c.rows);
        struct stat info {};
        ASSERT_EQ(::stat(target.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0644u);
        auto after = folderContents(dir.path());
        after.erase(c.target);
        auto expected = before;
        expected.erase(c.target);
        EXPECT_EQ(after, expected) << "only the target changed";
    }
}
