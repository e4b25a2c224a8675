// The lookup tables' rules on record sets opened as the editors open them: which keys are taken
// in each table, the categories of a type and the rule that a type keeps one, the number offered
// to a new type, the two type cascades (all of it stored with the lookup version, or nothing of
// it), and the count of expenses charged to a project.
#include <gtest/gtest.h>

#include <functional>

#include "database/LookupTables.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "tests/support/TestDatabase.h"

namespace {

// A database with user rows in every lookup table and the record sets of the editors.
struct Editors {
    TestDatabase db;
    CADODataBase connection;
    CAdoRecordset accounts{&connection}, types{&connection}, categories{&connection}, projects{&connection};

    explicit Editors(const std::string& arrange = "")
    {
        db.exec("UPDATE QlVersion SET Major = 5, Minor = 1 WHERE AppCode = 'PalmUpdt'");
        db.exec("INSERT INTO lkpAccounts (AcctCode, AcctDesc) VALUES ('VISA', 'Visa'), ('O''B', 'Bank')");
        db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES "
                "(12, 'TRVL', 'Travel', 2), (20, 'OFFC', 'Office', 1), (30, 'GIFT', 'Gifts', 1)");
        db.exec("INSERT INTO lkpExpCategories (ExpType, ExpCat, CatDesc) VALUES "
                "(12, 'MEALS', 'Meals'), (12, 'FUEL', 'Gas and oil'), (20, 'SUPPLIES', 'Supplies')");
        db.exec("INSERT INTO Projects (ProjectID, ProjectName) VALUES (7, 'Acme'), (1, 'Birch'), (2, 'Cedar')");
        db.exec("INSERT INTO Expenses (ExpType, ExpCat, ProjectID, TypeComp) VALUES "
                "(12, 'FUEL', 7, 2), (12, 'MEALS', 7, 2), (12, 'FUEL', 2, 2), (20, 'SUPPLIES', 7, 1)");
        if (!arrange.empty())
            db.exec(arrange);
        accounts.m_strSort = "AcctCode";
        types.m_strSort = "ExpType ASC";
        categories.m_strSort = "ExpType ASC, ExpCat ASC";
        projects.m_strSort = "ProjectID";
        if (!connection.Open(db.path()) || !accounts.OpenTable("lkpAccounts") || !types.OpenTable("lkpExpTypes") ||
            !categories.OpenTable("lkpExpCategories") || !projects.OpenTable("Projects"))
            ADD_FAILURE() << "cannot open the test database";
    }

    // The user types, their categories, the types of the expenses and the lookup version.
    std::string tables() const
    {
        return db.scalar("SELECT group_concat(ExpType || ExpLabel || ExpComp, ',') FROM "
                         "(SELECT * FROM lkpExpTypes WHERE ExpType > 9 ORDER BY ExpType)") +
               " | " +
               db.scalar("SELECT group_concat(ExpType || ExpCat, ',') FROM "
                         "(SELECT * FROM lkpExpCategories WHERE ExpType > 9 ORDER BY ExpType, ExpCat)") +
               " | " +
               db.scalar("SELECT group_concat(ExpType, ',') FROM (SELECT ExpType FROM Expenses ORDER BY ExpID)") +
               " | " + db.scalar("SELECT Major || '/' || Minor FROM QlVersion WHERE AppCode = 'PalmUpdt'");
    }

    ole::Variant typeRow(std::int16_t number)
    {
        types.m_strFind = "ExpType=" + std::to_string(number);
        return types.FindFirst() ? types.GetBookmark() : ole::Variant();
    }
};

const std::string kUnchanged = "12TRVL2,20OFFC1,30GIFT1 | 12FUEL,12MEALS,20SUPPLIES | 12,12,12,20 | 5/1";
const std::string kRefuseExpenseUpdates =
    "CREATE TRIGGER refuse BEFORE UPDATE ON Expenses BEGIN SELECT RAISE(ABORT, 'disk full'); END";
const std::string kRefuseVersionBump =
    "CREATE TRIGGER refuse BEFORE UPDATE ON QlVersion BEGIN SELECT RAISE(ABORT, 'disk full'); END";

using std::nullopt;

}  // namespace

TEST(LookupTables, KeysTakenInEachTable)
{
    Editors e;
    using T = LookupTables;
    const struct {
        const char* what;
        std::function<bool()> taken;
        bool expected;
    } cases[] = {
        {"account code in use", [&] { return T::AccountCodeTaken(e.accounts, "VISA", nullopt); }, true},
        {"account code in another letter case", [&] { return T::AccountCodeTaken(e.accounts, "visa", nullopt); }, true},
        {"account code with a quote", [&] { return T::AccountCodeTaken(e.accounts, "o'b", nullopt); }, true},
        {"free account code", [&] { return T::AccountCodeTaken(e.accounts, "AMEX", nullopt); }, false},
        {"edit keeping its code", [&] { return T::AccountCodeTaken(e.accounts, "VISA", "VISA"); }, false},
        {"edit changing only the case of its code",
         [&] { return T::AccountCodeTaken(e.accounts, "Visa", "VISA"); }, true},  // it finds itself
        {"edit taking another account's code", [&] { return T::AccountCodeTaken(e.accounts, "CASH", "VISA"); }, true},
        {"type number in use", [&] { return T::TypeNumberTaken(e.types, 20, nullopt); }, true},
        {"system type number", [&] { return T::TypeNumberTaken(e.types, 1, nullopt); }, true},
        {"free type number", [&] { return T::TypeNumberTaken(e.types, 13, nullopt); }, false},
        {"edit keeping its number", [&] { return T::TypeNumberTaken(e.types, 12, 12); }, false},
        {"edit taking another type's number", [&] { return T::TypeNumberTaken(e.types, 20, 12); }, true},
        {"category of the type in any case", [&] { return T::CategoryTaken(e.categories, 12, "fuel", nullopt); }, true},
        {"category of another type", [&] { return T::CategoryTaken(e.categories, 20, "FUEL", nullopt); }, false},
        {"free category with a quote", [&] { return T::CategoryTaken(e.categories, 12, "O'FUEL", nullopt); }, false},
        {"edit keeping its category", [&] { return T::CategoryTaken(e.categories, 12, "FUEL", "FUEL"); }, false},
        {"edit taking a sibling's category", [&] { return T::CategoryTaken(e.categories, 12, "MEALS", "FUEL"); }, true},
        {"project ID in use", [&] { return T::ProjectIDTaken(e.projects, 7, nullopt); }, true},
        {"free project ID", [&] { return T::ProjectIDTaken(e.projects, 5, nullopt); }, false},
        {"edit keeping its ID", [&] { return T::ProjectIDTaken(e.projects, 7, 7); }, false},
        {"edit taking another project's ID", [&] { return T::ProjectIDTaken(e.projects, 2, 7); }, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.taken(), c.expected) << c.what;

    // A record set that is not open (a HotSync closed it) holds no key; the store then says why.
    e.connection.Close();
    EXPECT_FALSE(T::AccountCodeTaken(e.accounts, "VISA", nullopt));
    EXPECT_FALSE(T::TypeNumberTaken(e.types, 12, nullopt));
    EXPECT_FALSE(T::CategoryTaken(e.categories, 12, "FUEL", nullopt));
    EXPECT_FALSE(T::ProjectIDTaken(e.projects, 7, nullopt));
}

TEST(LookupTables, CategoriesOfATypeAndTheLastOneStays)
{
    Editors e;
    const auto codes = [&](std::int16_t type) {
        std::string listed;
        for (const LookupTables::CategoryRow& row : LookupTables::CategoriesOf(e.categories, type))
            listed += row.code + "=" + row.description + ";";
        return listed;
    };
    EXPECT_EQ(codes(12), "FUEL=Gas and oil;MEALS=Meals;");  // in the record set's order
    EXPECT_EQ(codes(30), "");

    // Each row's bookmark leads back to it.
    const auto rows = LookupTables::CategoriesOf(e.categories, 12);
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_TRUE(e.categories.SetBookmark(rows[1].bookmark));
    EXPECT_EQ(LookupTables::CurrentCategory(e.categories).code, "MEALS");

    const struct {
        std::int16_t type;
        bool last;
    } cases[] = {{12, false}, {20, true}, {30, true}};
    for (const auto& c : cases)
        EXPECT_EQ(LookupTables::IsLastCategory(e.categories, c.type), c.last) << c.type;

    // A deletion through the record set counts at once.
    ASSERT_TRUE(e.categories.SetBookmark(rows[0].bookmark) && e.categories.Delete());
    EXPECT_EQ(LookupTables::IsLastCategory(e.categories, 12), true);
    EXPECT_EQ(codes(12), "MEALS=Meals;");
    e.categories.Close();
    EXPECT_FALSE(LookupTables::IsLastCategory(e.categories, 12).has_value());
}

TEST(LookupTables, ANewTypeIsOfferedOneAboveTheHighestButAtLeastTen)
{
    const struct {
        const char* arrange;
        std::int32_t offered;
    } cases[] = {
        {"DELETE FROM lkpExpTypes WHERE ExpType > 9", 10},  // only the system's types 0 and 1
        {"DELETE FROM lkpExpTypes", 10},
        {"DELETE FROM lkpExpTypes WHERE ExpType > 9; INSERT INTO lkpExpTypes (ExpType) VALUES (5), (9)", 10},
        {"INSERT INTO lkpExpTypes (ExpType) VALUES (15)", 31},  // gaps stay gaps
        {"INSERT INTO lkpExpTypes (ExpType) VALUES (999)", 1000},
    };
    for (const auto& c : cases) {
        Editors e(c.arrange);
        EXPECT_EQ(LookupTables::NewTypeNumber(e.types), c.offered) << c.arrange;
    }

    // A type added through the record set counts; a closed record set offers the first number.
    Editors e;
    ASSERT_TRUE(LookupTables(e.connection).StoreType(e.types, e.categories, {40, "DUES", "Dues", false}, nullopt));
    EXPECT_EQ(LookupTables::NewTypeNumber(e.types), 41);
    e.types.Close();
    EXPECT_EQ(LookupTables::NewTypeNumber(e.types), 10);
}

TEST(LookupTables, StoringATypeTakesItsCategoriesAndExpensesAlongOrNothing)
{
    const struct {
        const char* what;
        std::string arrange;
        LookupTables::TypeValues values;
        std::optional<std::int16_t> edited;  // the number of the edited type; none for a new one
        std::string tables;                   // afterwards; kUnchanged when refused
    } cases[] = {
        {"new plain type", "", {40, "DUES", "Dues", false}, nullopt,
         "12TRVL2,20OFFC1,30GIFT1,40DUES1 | 12FUEL,12MEALS,20SUPPLIES | 12,12,12,20 | 6/0"},
        {"new reimbursable type", "", {41, "TOUR", "Tours", true}, nullopt,
         "12TRVL2,20OFFC1,30GIFT1,41TOUR2 | 12FUEL,12MEALS,20SUPPLIES | 12,12,12,20 | 6/0"},
        {"same number moves no expense", kRefuseExpenseUpdates, {20, "DESK", "Desk", false}, 20,
         "12TRVL2,20DESK1,30GIFT1 | 12FUEL,12MEALS,20SUPPLIES | 12,12,12,20 | 6/0"},
        {"new number", "", {45, "TRVL", "Travel", true}, 12,
         "20OFFC1,30GIFT1,45TRVL2 | 20SUPPLIES,45FUEL,45MEALS | 45,45,45,20 | 6/0"},
        {"new number, the expenses refused", kRefuseExpenseUpdates, {45, "TRVL", "Travel", true}, 12, kUnchanged},
        {"another type's number", "", {20, "TRVL", "Travel", true}, 12, kUnchanged},
        {"version refused", kRefuseVersionBump, {40, "DUES", "Dues", false}, nullopt, kUnchanged},
    };
    for (const auto& c : cases) {
        Editors e(c.arrange);
        LookupTables tables(e.connection);
        const auto edit = c.edited ? std::optional(LookupTables::TypeEdit{e.typeRow(*c.edited), *c.edited}) : nullopt;
        const bool stored = tables.StoreType(e.types, e.categories, c.values, edit);
        EXPECT_EQ(stored, c.tables != kUnchanged) << c.what;
        EXPECT_EQ(e.tables(), c.tables) << c.what;
        if (!stored) {
            EXPECT_FALSE(tables.Failure().IsEmpty()) << c.what;
            continue;
        }
        // The editor's record sets show what was stored.
        EXPECT_EQ(e.types.GetDF_Short("ExpType"), c.values.number) << c.what;
        EXPECT_EQ(static_cast<std::int64_t>(LookupTables::CategoriesOf(e.categories, c.values.number).size()),
                  e.db.count("lkpExpCategories", "ExpType = " + std::to_string(c.values.number)))
            << c.what;
    }
}

TEST(LookupTables, DeletingATypeTakesItsCategoriesOrNothing)
{
    const struct {
        const char* what;
        std::string arrange;
        std::int16_t type;
        std::string tables;  // afterwards; kUnchanged when refused
        const char* why;     // in the failure's description
    } cases[] = {
        {"type with categories", "", 12, "20OFFC1,30GIFT1 | 20SUPPLIES | 12,12,12,20 | 6/0", ""},
        {"type without categories", "", 30, "12TRVL2,20OFFC1 | 12FUEL,12MEALS,20SUPPLIES | 12,12,12,20 | 6/0", ""},
        {"type row refused after its categories went",
         "CREATE TRIGGER refuse BEFORE DELETE ON lkpExpTypes BEGIN SELECT RAISE(ABORT, 'in use'); END", 12, kUnchanged,
         "in use"},
        {"version refused", kRefuseVersionBump, 12, kUnchanged, "disk full"},
        {"no such row", "", 99, kUnchanged, ""},
    };
    for (const auto& c : cases) {
        Editors e(c.arrange);
        LookupTables tables(e.connection);
        const bool deleted = tables.DeleteType(e.types, e.categories, e.typeRow(c.type));
        EXPECT_EQ(deleted, c.tables != kUnchanged) << c.what;
        EXPECT_EQ(e.tables(), c.tables) << c.what;
        EXPECT_NE(tables.Failure().description.find(c.why), std::string::npos) << c.what;
        if (deleted) {
            EXPECT_TRUE(LookupTables::CategoriesOf(e.categories, c.type).empty()) << c.what;
        }
    }
}

TEST(LookupTables, ExpensesChargedToAProjectAreThoseOfReimbursableTypes)
{
    Editors e;
    LookupTables tables(e.connection);
    const struct {
        std::int32_t project;
        std::int32_t charged;
    } cases[] = {
        {7, 2},  // the office expense's 7 is no project
        {2, 1},
        {1, 0},
        {99, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tables.ExpensesChargedTo(c.project), c.charged) << c.project;

    e.db.exec("DROP TABLE Expenses");
    EXPECT_FALSE(tables.ExpensesChargedTo(7).has_value());
    EXPECT_NE(tables.Failure().description.find("Expenses"), std::string::npos) << tables.Failure().description;
}
