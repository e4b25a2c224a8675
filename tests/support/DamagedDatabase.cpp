// Damaged databases for tests, made the way files are found damaged: bytes overwritten in a page,
// a file cut short, and rows changed behind an index's back.
#include "tests/support/DamagedDatabase.h"

#include <stdexcept>

void fillExpenses(const TestDatabase& db, int rows)
{
    db.exec("WITH RECURSIVE n(v) AS (SELECT 1 UNION ALL SELECT v + 1 FROM n WHERE v < " + std::to_string(rows) +
            ") INSERT INTO Expenses (ExpType, ExpYear, ExpCat, Item, Amount, ProjectID) "
            "SELECT 10 + v % 20, 2000 + v % 25, 'CAT', 'item ' || v, v * 100, 100 + v % 7 FROM n");
}

namespace {

void overwrite(const std::string& path, std::size_t offset, const std::string& bytes)
{
    std::string contents = readFile(path);
    if (offset + bytes.size() > contents.size())
        throw std::runtime_error("the damage would lie beyond the end of " + path);
    contents.replace(offset, bytes.size(), bytes);
    writeFile(path, contents);
}

// A leaf page in the middle of Expenses gets its cell pointers overwritten, as a torn write would.
void tearExpensesPage(const TestDatabase& db)
{
    const std::size_t pageSize = std::stoul(db.scalar("PRAGMA page_size"));
    const std::string leaves = "FROM dbstat WHERE name='Expenses' AND pagetype='leaf'";
    const std::size_t middle = std::stoul(db.scalar("SELECT count(*) " + leaves)) / 2;
    const std::size_t page =
        std::stoul(db.scalar("SELECT pageno " + leaves + " ORDER BY pageno LIMIT 1 OFFSET " + std::to_string(middle)));
    constexpr std::size_t kLeafHeaderBytes = 8;  // the cell pointer array follows it
    overwrite(db.path(), (page - 1) * pageSize + kLeafHeaderBytes, std::string(32, '\xFF'));
}

void cutInHalf(const TestDatabase& db)
{
    const std::string contents = readFile(db.path());
    writeFile(db.path(), contents.substr(0, contents.size() / 2));
}

// The index is hidden from the schema while a row changes, so its entry keeps the old key: a sound
// SQLite file whose index no longer matches its table.
void putIndexOutOfStep(const TestDatabase& db)
{
    const std::string where = " FROM sqlite_master WHERE name='ExpensesByYearType'";
    const std::string root = db.scalar("SELECT rootpage" + where);
    std::string sql = db.scalar("SELECT sql" + where);
    for (std::size_t at = sql.find('\''); at != std::string::npos; at = sql.find('\'', at + 2))
        sql.insert(at, 1, '\'');
    db.exec("PRAGMA writable_schema=ON; DELETE" + where);
    db.exec("UPDATE Expenses SET ExpYear = ExpYear + 100 WHERE ExpID = 7");
    db.exec("PRAGMA writable_schema=ON; INSERT INTO sqlite_master (type, name, tbl_name, rootpage, sql) "
            "VALUES ('index', 'ExpensesByYearType', 'Expenses', " + root + ", '" + sql + "')");
}

}  // namespace

const std::vector<Damage>& damages()
{
    static const std::vector<Damage> kDamages = {
        {"a torn page of Expenses", tearExpensesPage, "out of range"},
        {"a file cut in half", cutInHalf, "database disk image is malformed"},
        {"an index out of step with its table", putIndexOutOfStep, "row 7 missing from index ExpensesByYearType"},
    };
    return kDamages;
}
