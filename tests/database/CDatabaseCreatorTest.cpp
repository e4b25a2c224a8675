// CDatabaseCreator: a new database from the schema, and the refusals that keep an existing file.
#include <gtest/gtest.h>

#include "database/CDatabaseCreator.h"
#include "tests/support/TestDatabase.h"

TEST(CDatabaseCreator, RefusesToReplaceUnlessTold)
{
    TempDir dir;
    const std::string path = dir.file("mine.mdb");
    writeFile(path, "precious");
    EXPECT_THROW(CDatabaseCreator::CreateEmpty(path, false), std::runtime_error);
    EXPECT_EQ(readFile(path), "precious");
    EXPECT_THROW(CDatabaseCreator::CreateEmpty(dir.path(), true), std::runtime_error);
    EXPECT_THROW(CDatabaseCreator::CreateEmpty(dir.file("missing/new.mdb"), true), std::runtime_error);
    CDatabaseCreator::CreateEmpty(path, true);
    EXPECT_EQ(TestDatabase::scalarAt(path, "SELECT count(*) FROM QlVersion"), "2");
}
