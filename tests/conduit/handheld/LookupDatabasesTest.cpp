// The five handheld lookup databases (CHHAccountsDB, CHHExpTypesDB, CHHCategoriesDB,
// CHHProjectsDB, CHHExpFilterDB): each creates its database with creator 'Qlmr' and type 'DATA'
// and writes its records byte for byte; desktop texts become handheld text, and a long text is cut
// to fill the 32-byte work buffer exactly.
#include <gtest/gtest.h>

#include "conduit/handheld/CHHAccountsDB.h"
#include "conduit/handheld/CHHCategoriesDB.h"
#include "conduit/handheld/CHHExpFilterDB.h"
#include "conduit/handheld/CHHExpTypesDB.h"
#include "conduit/handheld/CHHProjectsDB.h"
#include "platform/palm/PalmBytes.h"
#include "tests/support/TestHandheld.h"

namespace {

using Records = std::vector<std::vector<std::uint8_t>>;

const std::string kLong(40, 'a');

// Each opens its database through its class and writes three records: false when any failed.
bool WriteAccounts()
{
    CHHAccountsDB db;
    return db.Open() && db.WriteAccount("CASH") && db.WriteAccount("Caf\u00e9 \u0416") && db.WriteAccount(kLong);
}

bool WriteExpTypes()
{
    CHHExpTypesDB db;
    return db.Open() && db.WriteExpType(300, 1, "Fuel") && db.WriteExpType(0, 0, "TaxDed") &&
           db.WriteExpType(12, 2, kLong);
}

bool WriteCategories()
{
    CHHCategoriesDB db;
    return db.Open() && db.WriteCategory(300, "Fuel") && db.WriteCategory(12, "\u20ac\u00fc") &&
           db.WriteCategory(12, kLong);
}

bool WriteProjects()
{
    CHHProjectsDB db;
    return db.Open() && db.WriteProject(1234567, "X") && db.WriteProject(0xFFFFFFFF, "") && db.WriteProject(7, kLong);
}

bool WriteFilter()
{
    CHHExpFilterDB db;
    return db.Open() && db.WriteFilterEntry(0, 0, "TaxDed") && db.WriteFilterEntry(0xFFFE, 1234567, "Alpha") &&
           db.WriteFilterEntry(12, 0, kLong.c_str());
}

struct Case {
    const char* database;  // the handheld database the class writes
    bool (*write)();       // its three records
    Records expected;      // the bytes it then holds
};

}  // namespace

TEST(LookupDatabases, WriteTheirRecordsByteForByte)
{
    const Case cases[] = {
        {"Qlmr-Accounts", WriteAccounts,
         {hexBytes("43 41 53 48 00"), hexBytes("43 61 66 E9 20 3F 00"), recordBytes("", std::string(31, 'a'))}},
        {"Qlmr-ExpTypes", WriteExpTypes,
         {hexBytes("01 2C 01 46 75 65 6C 00"), hexBytes("00 00 00 54 61 78 44 65 64 00"),
          recordBytes("00 0C 02", std::string(28, 'a'))}},
        {"Qlmr-Categories", WriteCategories,
         {hexBytes("01 2C 46 75 65 6C 00"), hexBytes("00 0C 80 FC 00"), recordBytes("00 0C", std::string(29, 'a'))}},
        {"Qlmr-Projects", WriteProjects,
         {hexBytes("00 12 D6 87 58 00"), hexBytes("FF FF FF FF 00"), recordBytes("00 00 00 07", std::string(27, 'a'))}},
        // The filter label is handheld text already; a longer one is cut all the same.
        {"Qlmr-ExpFilter", WriteFilter,
         {hexBytes("00 00 00 00 00 00 54 61 78 44 65 64 00"), hexBytes("FF FE 00 12 D6 87 41 6C 70 68 61 00"),
          recordBytes("00 0C 00 00 00 00", std::string(25, 'a'))}},
    };
    for (const Case& c : cases) {
        TestHandheld hh;
        ASSERT_TRUE(c.write()) << c.database;
        const palm::PalmDatabaseFile file = hh.load(c.database);
        EXPECT_EQ(file.m_header.type, palm::FourCC("DATA")) << c.database;
        EXPECT_EQ(file.m_header.creator, palm::FourCC("Qlmr")) << c.database;
        const Records written = hh.records(c.database);
        EXPECT_EQ(written, c.expected) << c.database;
        ASSERT_EQ(written.size(), 3u) << c.database;
        EXPECT_EQ(written.back().size(), 32u) << c.database << ": a long text fills the work buffer exactly";
    }
}
