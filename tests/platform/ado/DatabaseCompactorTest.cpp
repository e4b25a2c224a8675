// Compacted copies: the copy holds the data, the source is untouched, an existing target is
// replaced whole, refusals leave no stray files, a damaged source is not copied, and the copy
// gets the mode of a new file.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ado/DatabaseCompactor.h"
#include "platform/ado/Error.h"
#include "tests/support/DamagedDatabase.h"
#include "tests/support/ScopedUmask.h"
#include "tests/support/TestDatabase.h"

namespace {

std::string conn(const std::string& path) { return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path; }

std::size_t filesIn(const std::string& folder)
{
    std::size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        (void)entry;
        ++n;
    }
    return n;
}

}  // namespace

TEST(DatabaseCompactor, CopyHoldsTheDataAndReplacesAnExistingTarget)
{
    TestDatabase db;
    db.exec("INSERT INTO lkpAccounts (AcctCode, AcctDesc) VALUES ('VISA', 'Card')");
    const std::string before = readFile(db.path());
    const std::string target = db.dir().file("Exp041215.mdb");
    writeFile(target, "an older backup");

    ado::DatabaseCompactor::compactDatabase(conn(db.path()), conn(target));

    EXPECT_EQ(readFile(db.path()), before);
    EXPECT_EQ(TestDatabase::scalarAt(target, "SELECT group_concat(AcctCode) FROM lkpAccounts"), "CASH,VISA");
    EXPECT_EQ(filesIn(db.dir().path()), 2u) << "no temporary file is left behind";
}

TEST(DatabaseCompactor, RefusalsLeaveEverythingAsItWas)
{
    TestDatabase db;
    const std::string before = readFile(db.path());
    EXPECT_THROW(ado::DatabaseCompactor::compactDatabase(conn(db.path()), conn(db.path())), ado::Error);
    EXPECT_THROW(ado::DatabaseCompactor::compactDatabase(conn(db.dir().file("missing.mdb")), conn(db.dir().file("x.mdb"))),
                 ado::Error);
    EXPECT_THROW(ado::DatabaseCompactor::compactDatabase(conn(db.path()), conn(db.dir().file("no/such/folder/x.mdb"))),
                 ado::Error);
    EXPECT_EQ(readFile(db.path()), before);
    EXPECT_EQ(filesIn(db.dir().path()), 1u);
}

TEST(DatabaseCompactor, DamagedSourceIsNotCopied)
{
    for (const Damage& damage : damages()) {
        SCOPED_TRACE(damage.name);
        DamagedDatabase db(damage);
        const std::string target = db.dir().file("Exp041215.mdb");
        writeFile(target, "an older backup");
        const std::map<std::string, std::string> before = folderContents(db.dir().path());
        try {
            ado::DatabaseCompactor::compactDatabase(conn(db.path()), conn(target));
            ADD_FAILURE() << "the damaged file was copied";
        } catch (const ado::Error& error) {
            EXPECT_EQ(error.code(), ado::kDatabaseDamaged);
            const std::string& text = error.description();
            const std::string tail = "). No copy was made, so nothing was written to '" + target + "'.";
            EXPECT_EQ(text.rfind("'" + db.path() + "' is damaged (SQLite reports: ", 0), 0u) << text;
            EXPECT_EQ(text.substr(text.size() - std::min(text.size(), tail.size())), tail) << text;
            EXPECT_NE(error.description().find(damage.report), std::string::npos) << error.description();
        }
        EXPECT_EQ(folderContents(db.dir().path()), before) << "source and target untouched, no stray file";
    }
}

TEST(DatabaseCompactor, CopyIsANewFileThatFollowsTheUmask)
{
    for (const mode_t mask : {mode_t(022), mode_t(077)}) {
        SCOPED_TRACE(testing::Message() << std::oct << "umask " << mask);
        TestDatabase db;
        const std::string target = db.dir().file("Exp041215.mdb");
        writeFile(target, "an older backup");
        ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
        const ScopedUmask umask(mask);
        ado::DatabaseCompactor::compactDatabase(conn(db.path()), conn(target));
        EXPECT_EQ(fileMode(target.c_str()), 0666 & ~mask);
    }
}
