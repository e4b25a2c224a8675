// The snapshot record set: reading by declared type, navigation, bookmarks, sorting, and the
// write path (pending edits, defaults, stores on move, rows deleted by another program).
#include <gtest/gtest.h>

#include "platform/ado/Connection.h"
#include "platform/ado/Error.h"
#include "platform/ado/Recordset.h"
#include "tests/support/TestDatabase.h"

using ado::Recordset;
using ole::Currency;
using ole::DateTime;
using ole::VarType;
using ole::Variant;

namespace {

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Amount, Reimburse, Status, ProjectID, TypeComp) VALUES "
                "(12, 'FUEL', '2004-12-25 00:00:00', 2004, 'Gas', 123400, 1, 2, 7, 2),"
                "(12, 'MEALS', '2004-01-03 00:00:00', 2004, 'Lunch', -50000, 0, 0, 7, 2),"
                "(0, 'GENERAL', NULL, -1, 'Donation', 1000000, 0, 0, 2004, 0)");
        connection.open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + db.path(), "", "", -1);
    }

    void openTable(Recordset& rs, const std::string& table, const std::string& filter = "", const std::string& sort = "")
    {
        rs.setFilter(filter);
        rs.setSort(sort);
        rs.open(table, &connection, ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdTable);
    }

    std::vector<std::string> items(Recordset& rs)
    {
        std::vector<std::string> result;
        for (rs.moveFirst(); !rs.isEOF(); rs.moveNext())
            result.push_back(*rs.value("Item").get<std::string>());
        return result;
    }

    static std::int32_t errorCode(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const ado::Error& error) {
            return error.code();
        }
        return 0;
    }

    TestDatabase db;
    ado::Connection connection;
};

}  // namespace

TEST_F(RecordsetTest, ValuesCarryTheirColumnsTypes)
{
    Recordset rs;
    openTable(rs, "Expenses", "", "ExpID");
    EXPECT_EQ(rs.value("ExpType"), Variant(std::int16_t(12)));
    EXPECT_EQ(rs.value("ProjectID"), Variant(std::int32_t(7)));
    EXPECT_EQ(rs.value("TypeComp"), Variant(std::uint8_t(2)));
    EXPECT_EQ(rs.value("Reimburse"), Variant(true));
    EXPECT_EQ(rs.value("Amount"), Variant(Currency::fromCents(1234)));
    EXPECT_EQ(rs.value("ExpDate"), Variant(DateTime(2004, 12, 25)));
    EXPECT_EQ(rs.value("item"), Variant("Gas")) << "field names ignore letter case";
    EXPECT_EQ(rs.value("Vendor").type(), VarType::Null);
    EXPECT_EQ(errorCode([&] { rs.value("NoSuchColumn"); }), ado::kItemNotFound);
}

TEST_F(RecordsetTest, FilterAndSortShapeATableOpen)
{
    Recordset rs;
    openTable(rs, "Expenses", "ExpType > 9", "ExpDate ASC");
    EXPECT_EQ(items(rs), (std::vector<std::string>{"Lunch", "Gas"}));
    EXPECT_EQ(rs.recordCount(), 2);

    Recordset bad;
    EXPECT_EQ(errorCode([&] { openTable(bad, "NoSuchTable"); }), ado::kNoSuchTable);
    EXPECT_EQ(errorCode([&] { openTable(bad, "Expenses", "ExpType >"); }), ado::kErrorsInCommand);
    EXPECT_FALSE(bad.isOpen());
}

TEST_F(RecordsetTest, EmptyAndEndPositions)
{
    Recordset rs;
    openTable(rs, "Expenses", "ExpType = 99");
    EXPECT_TRUE(rs.isBOF());
    EXPECT_TRUE(rs.isEOF());
    EXPECT_NO_THROW(rs.moveFirst());
    EXPECT_EQ(errorCode([&] { rs.moveNext(); }), ado::kNoCurrentRecord);
    EXPECT_EQ(errorCode([&] { rs.value("Item"); }), ado::kNoCurrentRecord);

    Recordset full;
    openTable(full, "Expenses", "", "ExpID");
    full.moveLast();
    full.moveNext();
    EXPECT_TRUE(full.isEOF());
    EXPECT_EQ(errorCode([&] { full.moveNext(); }), ado::kNoCurrentRecord);
    full.movePrevious();
    EXPECT_EQ(full.value("Item"), Variant("Donation"));
    full.moveFirst();
    full.move(5);
    EXPECT_TRUE(full.isEOF());
}

TEST_F(RecordsetTest, BookmarksSurviveResortingAndReopening)
{
    Recordset rs;
    openTable(rs, "Expenses", "", "ExpID");
    rs.moveNext();
    const ole::Bookmark lunch = rs.bookmark();

    rs.setSort("Amount DESC");
    EXPECT_EQ(items(rs), (std::vector<std::string>{"Donation", "Gas", "Lunch"}));
    rs.setBookmark(Variant(lunch));
    EXPECT_EQ(rs.value("Item"), Variant("Lunch"));

    rs.close();
    openTable(rs, "Expenses", "", "ExpDate");
    rs.setBookmark(Variant(lunch));
    EXPECT_EQ(rs.value("Item"), Variant("Lunch"));

    EXPECT_EQ(errorCode([&] { rs.setBookmark(Variant(ole::Bookmark{999})); }), ado::kInvalidArgument);
    EXPECT_EQ(errorCode([&] { rs.setBookmark(Variant(std::int32_t(1))); }), ado::kInvalidArgument);
}

TEST_F(RecordsetTest, SortThatCannotBeReadChangesNothing)
{
    Recordset rs;
    openTable(rs, "Expenses", "", "ExpID");
    EXPECT_EQ(errorCode([&] { rs.setSort("Nope ASC"); }), ado::kItemNotFound);
    EXPECT_EQ(errorCode([&] { rs.setSort("Amount SIDEWAYS"); }), ado::kInvalidArgument);
    EXPECT_EQ(items(rs), (std::vector<std::string>{"Gas", "Lunch", "Donation"}));
    rs.setSort("ExpDate ASC, Item DESC");  // a null date sorts first
    EXPECT_EQ(items(rs), (std::vector<std::string>{"Donation", "Lunch", "Gas"}));
    rs.setSort("");
    EXPECT_EQ(items(rs), (std::vector<std::string>{"Gas", "Lunch", "Donation"}));
}

TEST_F(RecordsetTest, NewRowsTakeColumnDefaultsAndJoinTheSnapshot)
{
    Recordset rs;
    openTable(rs, "Expenses", "", "ExpID");
    rs.addNew();
    EXPECT_FALSE(rs.isEOF());
    rs.setValue("Item", Variant("Taxi"));
    rs.setValue("Status", Variant());  // the empty value leaves the default
    rs.update();
    EXPECT_EQ(rs.value("Item"), Variant("Taxi"));
    EXPECT_EQ(rs.value("Status"), Variant(std::int16_t(0)));
    EXPECT_EQ(rs.value("Reimburse"), Variant(false));
    EXPECT_EQ(rs.recordCount(), 4);
    EXPECT_EQ(db.scalar("SELECT Status || '/' || Reimburse FROM Expenses WHERE Item='Taxi'"), "0/0");

    Recordset projects;
    openTable(projects, "Projects");
    projects.addNew();
    projects.setValue("ProjectID", Variant(std::int32_t(42)));
    projects.update();
    EXPECT_EQ(projects.value("Active"), Variant(true));
}

TEST_F(RecordsetTest, NewRowsShowDefaultsGivenAsExpressionsToo)
{
    db.exec("CREATE TABLE Notes (NoteKey INTEGER PRIMARY KEY, Body TEXT DEFAULT 'none', Kind SMALLINT DEFAULT -3, "
            "Written DATETIME DEFAULT CURRENT_TIMESTAMP, Code INTEGER DEFAULT (7 * 6))");
    Recordset rs;
    openTable(rs, "Notes");
    rs.addNew();
    rs.setValue("Kind", Variant(std::int16_t(4)));
    rs.update();
    EXPECT_EQ(rs.value("Body"), Variant("none"));
    EXPECT_EQ(rs.value("Kind"), Variant(std::int16_t(4)));
    EXPECT_EQ(rs.value("Code"), Variant(std::int32_t(42)));
    EXPECT_EQ(rs.value("Written").type(), VarType::Date);
    EXPECT_EQ(rs.value("NoteKey"), Variant(std::int32_t(1)));

    Recordset accounts;  // literal defaults only: the row is not read back, and must look the same
    openTable(accounts, "lkpExpTypes");
    accounts.addNew();
    accounts.setValue("ExpType", Variant(std::int16_t(40)));
    accounts.update();
    EXPECT_EQ(accounts.value("ExpComp"), Variant(std::uint8_t(1)));
    EXPECT_EQ(accounts.value("ExpLabel").type(), VarType::Null);
    EXPECT_EQ(accounts.value("TypeID"), Variant(std::int32_t(std::stoi(db.scalar("SELECT TypeID FROM lkpExpTypes WHERE ExpType=40")))));
}

TEST_F(RecordsetTest, PendingEditIsStoredOnMoveAndDroppedOnCancel)
{
    Recordset rs;
    openTable(rs, "Expenses", "", "ExpID");
    rs.setValue("Status", Variant(std::int16_t(3)));
    EXPECT_EQ(rs.editMode(), Recordset::EditMode::InProgress);
    EXPECT_EQ(db.scalar("SELECT Status FROM Expenses WHERE Item='Gas'"), "2") << "nothing stored yet";
    rs.moveNext();
    EXPECT_EQ(db.scalar("SELECT Status FROM Expenses WHERE Item='Gas'"), "3");

    rs.setValue("Item", Variant("Brunch"));
    rs.cancelUpdate();
    EXPECT_EQ(rs.value("Item"), Variant("Lunch"));
    rs.moveNext();
    EXPECT_EQ(db.scalar("SELECT Item FROM Expenses WHERE ExpID=2"), "Lunch");

    rs.setValue("Item", Variant("Gift"));
    rs.movePrevious();  // the last change of a run is stored by stepping back
    EXPECT_EQ(db.scalar("SELECT Item FROM Expenses WHERE ExpID=3"), "Gift");
}

TEST_F(RecordsetTest, ValuesAreCheckedAgainstTheColumn)
{
    Recordset rs;
    openTable(rs, "Expenses", "", "ExpID");
    EXPECT_EQ(errorCode([&] { rs.setValue("ExpType", Variant(std::int32_t(40000))); }), ado::kErrorsOccurred);
    EXPECT_EQ(errorCode([&] { rs.setValue("ExpType", Variant("twelve")); }), ado::kErrorsOccurred);
    EXPECT_EQ(errorCode([&] { rs.setValue("TypeComp", Variant(std::int16_t(-1))); }), ado::kErrorsOccurred);
    EXPECT_EQ(errorCode([&] { rs.setValue("ExpDate", Variant(DateTime::invalid())); }), ado::kErrorsOccurred);
    EXPECT_EQ(rs.editMode(), Recordset::EditMode::None) << "a refused value starts no edit";

    rs.setValue("Amount", Variant(Currency::fromRaw(12345678)));
    rs.setValue("Item", Variant("Café \"best\" O'Neil, Ltd"));
    rs.update();
    EXPECT_EQ(db.scalar("SELECT Amount FROM Expenses WHERE ExpID=1"), "12345678") << "stored exactly, x 10,000";
    EXPECT_EQ(db.scalar("SELECT Item FROM Expenses WHERE ExpID=1"), "Café \"best\" O'Neil, Ltd");
}

TEST_F(RecordsetTest, QueriesAreReadOnly)
{
    Recordset rs;
    rs.open("SELECT ExpType, count(*) AS N, sum(Amount) AS Total FROM Expenses GROUP BY ExpType ORDER BY ExpType",
            &connection, ado::adOpenStatic, ado::adLockOptimistic, ado::adCmdText);
    EXPECT_EQ(rs.value("ExpType"), Variant(std::int16_t(0)));
    EXPECT_EQ(rs.value("N"), Variant(std::int32_t(1)));
    rs.moveNext();
    EXPECT_EQ(rs.value("Total"), Variant(std::int32_t(73400)));
    EXPECT_EQ(errorCode([&] { rs.setValue("N", Variant(std::int32_t(3))); }), ado::kNotUpdatable);
    EXPECT_EQ(errorCode([&] { rs.addNew(); }), ado::kNotUpdatable);
    const ole::Bookmark mark = rs.bookmark();
    rs.moveFirst();
    rs.setBookmark(Variant(mark));
    EXPECT_EQ(rs.value("ExpType"), Variant(std::int16_t(12)));

    Recordset table;  // a table opened read-only: its own columns, and rowids as bookmarks
    table.setSort("ExpID DESC");
    table.open("Expenses", &connection, ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdTable);
    EXPECT_EQ(table.fields().front().name(), "ExpID");
    EXPECT_EQ(table.bookmark().id, 3);
    EXPECT_EQ(errorCode([&] { table.setValue("Item", Variant("x")); }), ado::kNotUpdatable);
}

TEST_F(RecordsetTest, QueriesReadEveryColumnAsTableOpensDo)
{
    Recordset table;
    openTable(table, "Expenses", "", "ExpID");
    Recordset query;
    query.open("SELECT * FROM Expenses ORDER BY ExpID", &connection, ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdText);
    ASSERT_EQ(query.fields().size(), table.fields().size());
    for (table.moveFirst(), query.moveFirst(); !table.isEOF(); table.moveNext(), query.moveNext()) {
        ASSERT_FALSE(query.isEOF());
        for (const ado::FieldInfo& field : table.fields())
            EXPECT_EQ(query.value(field.name()), table.value(field.name())) << field.name();
    }

    // The amount stored for 12.34 (as 123400), through a plain SELECT and through a join.
    db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES (12, 'TRVL', 'Travel', 2)");
    for (const char* sql : {"SELECT Amount FROM Expenses WHERE Item = 'Gas'",
                            "SELECT t.ExpDesc, e.Amount FROM Expenses e JOIN lkpExpTypes t ON t.ExpType = e.ExpType "
                            "WHERE e.Item = 'Gas'"}) {
        SCOPED_TRACE(sql);
        Recordset rs;
        rs.open(sql, &connection, ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdText);
        EXPECT_EQ(rs.value("Amount"), Variant(Currency::fromCents(1234)));
    }
}

TEST_F(RecordsetTest, DeletedRowIsSkippedAndCountedOut)
{
    Recordset rs;
    openTable(rs, "Expenses", "", "ExpID");
    rs.moveNext();
    rs.deleteCurrent();
    EXPECT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(errorCode([&] { rs.value("Item"); }), ado::kNoCurrentRecord);
    rs.moveNext();
    EXPECT_EQ(rs.value("Item"), Variant("Donation"));
    rs.movePrevious();
    EXPECT_EQ(rs.value("Item"), Variant("Gas"));
    EXPECT_EQ(items(rs), (std::vector<std::string>{"Gas", "Donation"}));
    EXPECT_EQ(db.count("Expenses"), 2);
}

TEST_F(RecordsetTest, RowDeletedByAnotherProgramCannotBeChangedButIsGoneWhenDeleted)
{
    Recordset rs;
    openTable(rs, "Expenses", "", "ExpID");
    db.exec("DELETE FROM Expenses WHERE ExpID=1");
    rs.setValue("Item", Variant("Changed"));
    EXPECT_EQ(errorCode([&] { rs.update(); }), ado::kUnspecifiedError);
    EXPECT_EQ(db.count("Expenses"), 2);
    rs.cancelUpdate();
    rs.deleteCurrent();  // already gone, as asked
    EXPECT_EQ(rs.recordCount(), 2) << "the vanished row leaves the snapshot";
    EXPECT_EQ(db.count("Expenses"), 2);
}

TEST_F(RecordsetTest, ManyRowsAndLongTextsReadBackExactly)
{
    db.exec("WITH RECURSIVE n(v) AS (SELECT 1 UNION ALL SELECT v + 1 FROM n WHERE v < 10000) "
            "INSERT INTO Expenses (ExpType, Item, Amount) SELECT 20, 'item ' || v, v * 100 FROM n");
    const std::string huge(3 << 20, 'z');
    db.exec("UPDATE Expenses SET Detail = '" + huge + "' WHERE Item = 'item 5000'");
    Recordset rs;
    openTable(rs, "Expenses", "ExpType = 20", "Amount DESC");
    EXPECT_EQ(rs.recordCount(), 10000);
    long n = 10000;
    for (rs.moveFirst(); !rs.isEOF(); rs.moveNext(), --n) {
        ASSERT_EQ(rs.value("Item"), Variant("item " + std::to_string(n)));
        ASSERT_EQ(rs.value("Amount"), Variant(Currency::fromRaw(n * 100)));
    }
    rs.moveFirst();
    rs.find("Item = 'item 5000'", 0, true);
    EXPECT_EQ(rs.value("Detail"), Variant(huge));
    EXPECT_GT(rs.bytesUsed(), std::size_t(3 << 20));
}

// A table open sorts its snapshot itself, and a re-sort of an open one sorts again: both must
// give the engine's ORDER BY (ties by row id), for nulls, negative and equal numbers, and texts
// that agree in their first eight bytes or are longer than that.
TEST_F(RecordsetTest, SnapshotSortsAsTheEngineOrdersBy)
{
    db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, Item, Amount, ProjectID) VALUES "
            "(12, 'SUPPLIESX', '2004-06-01 00:00:00', 'a', -1, NULL),"
            "(12, 'SUPPLIES', '2004-06-01 00:00:00', 'b', 0, 7),"
            "(12, 'SUPPLIE', NULL, 'c', 0, -3),"
            "(NULL, '', '1999-12-31 23:59:59', 'd', 50000, 7),"
            "(12, NULL, '2004-06-01 00:00:00', 'e', -50000, 7),"
            "(-4, 'SUPPLIESY', '2004-06-01 12:00:00', 'f', 123400, 2004),"
            "(12, 'é', '2004-06-01 00:00:00', 'g', 0, 7),"
            "(12, 'SUPPLIES', '2004-06-01 00:00:00', 'h', 0, 7)");
    const std::vector<std::string> sorts = {
        "ExpType ASC, ProjectID ASC, ExpDate ASC, ExpCat ASC",
        "ExpType ASC, ProjectID ASC, ExpCat ASC, ExpDate ASC",
        "ExpCat DESC, Amount ASC",
        "Amount DESC, ExpDate DESC, ExpCat ASC, ProjectID DESC, ExpType ASC",  // more keys than an entry holds
        "[ExpDate], Item DESC",
    };
    const auto rowIds = [](Recordset& rs) {
        std::string ids;
        for (rs.moveFirst(); !rs.isEOF(); rs.moveNext())
            ids += std::to_string(rs.bookmark().id) + " ";
        return ids;
    };
    const auto engineOrder = [this](const std::string& sort) {
        std::string sql = "SELECT group_concat(id, ' ') || ' ' FROM (SELECT rowid AS id FROM Expenses ORDER BY ";
        for (char c : sort)
            sql += c == '[' || c == ']' ? ' ' : c;
        return db.scalar(sql + ", rowid)");
    };
    Recordset resorted;
    openTable(resorted, "Expenses", "", "Item DESC");
    for (const std::string& sort : sorts) {
        SCOPED_TRACE(sort);
        Recordset opened;
        openTable(opened, "Expenses", "", sort);
        EXPECT_EQ(rowIds(opened), engineOrder(sort));
        resorted.setSort(sort);
        EXPECT_EQ(rowIds(resorted), engineOrder(sort));
    }
}

// A peek reads another row without moving, and without storing or losing a pending edit.
TEST_F(RecordsetTest, PeekReadsAnotherRowAndLeavesThePositionAndAPendingEdit)
{
    Recordset rs;
    openTable(rs, "Expenses", "", "ExpID");
    const ole::Bookmark gas = rs.bookmark();
    rs.moveNext();
    rs.setValue("Item", Variant("Brunch"));  // an edit of Lunch, pending
    ASSERT_TRUE(rs.peek(Variant(gas)));
    EXPECT_EQ(rs.value("Item"), Variant("Gas"));
    rs.endPeek();
    EXPECT_EQ(rs.value("Item"), Variant("Brunch"));
    EXPECT_EQ(db.count("Expenses", "Item='Brunch'"), 0);
    rs.update();
    EXPECT_EQ(db.count("Expenses", "Item='Brunch'"), 1);

    rs.moveFirst();
    rs.deleteCurrent();
    EXPECT_FALSE(rs.peek(Variant(gas))) << "a deleted row";
    EXPECT_FALSE(rs.peek(Variant(ole::Bookmark{999})));
    EXPECT_FALSE(rs.peek(Variant(std::int32_t(1))));
    rs.moveFirst();
    EXPECT_EQ(rs.value("Item"), Variant("Brunch")) << "no peek is left behind";
}
