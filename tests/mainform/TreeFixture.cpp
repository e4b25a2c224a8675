// Tree fixture and dump.
#include "tests/mainform/TreeFixture.h"

#include <functional>

#include "mainform/CQuillmarView.h"
#include "tests/support/TestDatabase.h"

void fillTreeFixture(const TestDatabase& db)
{
    db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES "
            "(12, 'TRVL', 'Travel', 2), (20, 'OFFC', 'Office', 1), (30, 'GIFT', 'Gifts', 1)");
    db.exec("INSERT INTO lkpExpCategories (ExpType, ExpCat, CatDesc) VALUES "
            "(12, 'FUEL', 'Fuel'), (12, 'MEALS', 'Meals'), (12, 'HOTEL', 'Hotel'), (20, 'SUPPLIES', 'Supplies')");
    db.exec("INSERT INTO lkpAccounts (AcctCode, AcctDesc) VALUES ('VISA', 'Visa card')");
    db.exec("INSERT INTO Projects (ProjectID, ProjectName) VALUES (7, 'Acme'), (8, 'Birch')");
    db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, Item, Detail, Amount, Reimburse, Status, ProjectID, TypeComp) VALUES "
            "(0, 'GENERAL', '2004-03-15 00:00:00', 'Donation', 'Red Cross', 1000000, 0, 0, 2004, 0),"
            "(0, 'PROPTAX', '2004-01-10 00:00:00', 'County tax', 'First half', 12345000, 0, 0, 2004, 0),"
            "(0, 'GENERAL', '2005-02-01 00:00:00', 'Gift', 'Church', 500000, 0, 0, 2005, 0),"
            "(1, 'FEDERAL', '2004-04-15 00:00:00', 'Q1 payment', 'IRS', 5000000, 0, 0, 2004, 0),"
            "(12, 'FUEL', '2004-12-25 00:00:00', 'Gas', 'Trip to client', 123400, 1, 1, 7, 2),"
            "(12, 'MEALS', '2004-12-24 00:00:00', 'Lunch', 'With Bob', 450000, 1, 2, 7, 2),"
            "(12, 'FUEL', '2004-11-02 00:00:00', 'Gas', 'Return trip', 200000, 0, 0, 7, 2),"
            "(12, 'HOTEL', '2005-01-05 00:00:00', 'Hotel', '2 nights', 3000000, 1, 3, 8, 2),"
            "(12, 'MEALS', '2005-01-06 00:00:00', 'Dinner', 'Team', -30000, 1, 0, 8, 2),"
            "(20, 'SUPPLIES', '2004-06-01 00:00:00', 'Ink', 'Printer ink', 5000, 0, 0, 2004, 1),"
            "(20, 'SUPPLIES', NULL, 'Paper', 'Café order', 12345000, 0, 0, 2004, 1)");
}

QStringList dump(CQuillmarView& view)
{
    QStringList lines;
    ExpenseTreeModel& model = view.Model();
    std::function<void(ExpenseTreeModel::Item, int)> walk = [&](ExpenseTreeModel::Item item, int depth) {
        for (; item; item = model.GetNextSiblingItem(item)) {
            QString text = QString::fromStdString(model.Text(item));
            while (text.endsWith(' '))
                text.chop(1);
            lines << QString(depth * 2, ' ') + text;
            walk(model.GetChildItem(item), depth + 1);
        }
    };
    walk(model.GetRootItem(), 0);
    return lines;
}
