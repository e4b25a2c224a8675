// The expense tree of a known database, line by line in both sort modes, and the tree
// operations the view commands build on.
#include <QtTest>

#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

#include "mainform/CQuillmarView.h"
#include "platform/ole/FormatAmount.h"
#include "database/ExpenseRow.h"
#include "dbaccess/CADODataBase.h"
#include "tests/support/QtTestSupport.h"
#include "tests/mainform/TreeFixture.h"
#include "tests/support/TestDatabase.h"

namespace {

struct ViewFixture {
    TestDatabase db;
    CADODataBase connection;
    std::unique_ptr<CQuillmarView> view;

    explicit ViewFixture(bool fill = true)
    {
        SetAmountLocale(ole::NumberLocale(".", ","));
        if (fill)
            fillTreeFixture(db);
    }
    void open()
    {
        QVERIFY(connection.Open(db.path()));
        view = std::make_unique<CQuillmarView>(connection);
        view->OnInitialUpdate();
    }
};

}  // namespace

class CQuillmarViewTest : public QObject {
    Q_OBJECT
private slots:
    void sortByDateShowsEveryLineAsFormatted()
    {
        ViewFixture f;
        f.open();
        QCOMPARE(f.view->CurrentSortMode(), SortMode::ByDate);
        QCOMPARE(f.view->TabControl()->count(), 2);
        QCOMPARE(f.view->TabControl()->tabText(0), QString("   Sort by Date   "));
        QCOMPARE(f.view->TabControl()->tabText(1), QString("  Sort by Category  "));
        const QStringList expected = {
            "Tax YR: 2004 =  1334.50",
            "  01/10  PROPTAX   1234.50  County tax           First half",
            "  03/15  GENERAL    100.00  Donation             Red Cross",
            "Tax YR: 2005 =    50.00",
            "  02/01  GENERAL     50.00  Gift                 Church",
            "EST TAX: 2004 =   500.00",
            "  04/15  FEDERAL    500.00  Q1 payment           IRS",
            "Acme =    77.34,  IN=12.34,  SU=45.00,  PD=0.00",
            "  11/02 -- FUEL        20.00  Gas                  Return trip",
            "  12/24 SU MEALS       45.00  Lunch                With Bob",
            "  12/25 IN FUEL        12.34  Gas                  Trip to client",
            "Birch =   297.00,  IN=0.00,  SU=0.00,  PD=300.00",
            "  01/05 PD HOTEL      300.00  Hotel                2 nights",
            "  01/06 NA MEALS       -3.00  Dinner               Team",
            "OFFC: 2004 =  1235.00",
            "  Invalid DateTime  SUPPLIES  1234.50  Paper                Café order",
            "  06/01  SUPPLIES     0.50  Ink                  Printer ink",
        };
        QCOMPARE(dump(*f.view), expected);
        // The detail column is padded to 80 characters even when it ends in blanks.
        const std::string countyTax = f.view->Model().Text(f.view->Model().GetChildItem(f.view->Model().GetRootItem()));
        QCOMPARE(QString::fromStdString(countyTax).size(), 5 + 1 + 0 + 1 + 8 + 1 + 8 + 2 + 20 + 1 + 80);
    }

    void sortByCategoryAddsTheCategoryLevel()
    {
        ViewFixture f;
        f.open();
        f.view->TabControl()->setCurrentIndex(1);  // the tab change rebuilds
        QCOMPARE(f.view->CurrentSortMode(), SortMode::ByCategory);
        const QStringList expected = {
            "Tax YR: 2004 =  1334.50",
            "  GENERAL  =   100.00",
            "    03/15    100.00  Donation             Red Cross",
            "  PROPTAX  =  1234.50",
            "    01/10   1234.50  County tax           First half",
            "Tax YR: 2005 =    50.00",
            "  GENERAL  =    50.00",
            "    02/01     50.00  Gift                 Church",
            "EST TAX: 2004 =   500.00",
            "  FEDERAL  =   500.00",
            "    04/15    500.00  Q1 payment           IRS",
            "Acme =    77.34,  IN=12.34,  SU=45.00,  PD=0.00",
            "  FUEL     =    32.34, IN=12.34,   SU=0.00,    PD=0.00",
            "    11/02 --    20.00  Gas                  Return trip",
            "    12/25 IN    12.34  Gas                  Trip to client",
            "  MEALS    =    45.00, IN=0.00,    SU=45.00,   PD=0.00",
            "    12/24 SU    45.00  Lunch                With Bob",
            "Birch =   297.00,  IN=0.00,  SU=0.00,  PD=300.00",
            "  HOTEL    =   300.00, IN=0.00,    SU=0.00,    PD=300.00",
            "    01/05 PD   300.00  Hotel                2 nights",
            "  MEALS    =    -3.00, IN=0.00,    SU=0.00,    PD=0.00",
            "    01/06 NA    -3.00  Dinner               Team",
            "OFFC: 2004 =  1235.00",
            "  SUPPLIES =  1235.00",
            "    Invalid DateTime   1234.50  Paper                Café order",
            "    06/01      0.50  Ink                  Printer ink",
        };
        QCOMPARE(dump(*f.view), expected);
        f.view->TabControl()->setCurrentIndex(0);
        QCOMPARE(dump(*f.view).size(), 17);
        QVERIFY(!f.view->DeleteButton()->isEnabled());
    }

    void rowsOfEveryTypeAreShownInOrder()
    {
        // System types 2 to 9 (one without a lookup row) and a negative type sort around the tax
        // types; each gets groups of its own, and nothing after them goes missing.
        for (const int mode : {0, 1}) {
            ViewFixture f;
            f.db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES (5, 'MISC', 'Misc', 0)");
            f.db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, Item, Amount, ProjectID, TypeComp) VALUES "
                      "(5, 'X', '2004-01-01 00:00:00', 'Stray', 10000, 2004, 0),"
                      "(5, 'X', '2004-02-01 00:00:00', 'Stray', 20000, 2004, 0),"
                      "(7, 'Y', '2004-01-01 00:00:00', 'Lost', 500, 2004, 0),"
                      "(-2, 'Z', '2004-01-01 00:00:00', 'Odd', 100, 2004, 0)");
            f.open();
            f.view->TabControl()->setCurrentIndex(mode);
            const QStringList groups = dump(*f.view).filter(QRegularExpression("^\\S"));
            QCOMPARE(groups, QStringList({"<error> =     0.01", "Tax YR: 2004 =  1334.50", "Tax YR: 2005 =    50.00",
                                          "EST TAX: 2004 =   500.00", "MISC =     3.00", "<error> =     0.05",
                                          "Acme =    77.34,  IN=12.34,  SU=45.00,  PD=0.00",
                                          "Birch =   297.00,  IN=0.00,  SU=0.00,  PD=300.00", "OFFC: 2004 =  1235.00"}));
            QCOMPARE(f.view->Model().ItemCount(), std::size_t(mode == 0 ? 24 : 36));
        }
    }

    void keysThatComeBackStartASecondGroupAndMissingLookupsShowError()
    {
        ViewFixture f(false);
        // A type-0 row filed under 2003 but dated 2004 sorts between the 2003 rows and 2004 rows.
        f.db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, Item, Amount, ProjectID, TypeComp) VALUES "
                  "(0, 'GENERAL', '2003-05-01 00:00:00', 'A', 10000, 2003, 0),"
                  "(0, 'GENERAL', '2004-05-01 00:00:00', 'B', 20000, 2003, 0),"
                  "(0, 'GENERAL', '2003-06-01 00:00:00', 'C', 30000, 2004, 0),"
                  "(44, 'X', '2004-01-01 00:00:00', 'D', 40000, 2004, 1)");
        f.open();
        const QStringList lines = dump(*f.view);
        QCOMPARE(lines.filter(QRegularExpression("^Tax YR")),
                 QStringList({"Tax YR: 2003 =     1.00", "Tax YR: 2004 =     2.00", "Tax YR: 2003 =     3.00"}));
        QCOMPARE(lines.filter(QRegularExpression("^<error>")), QStringList({"<error> =     4.00"}));
    }

    void emptyDatabaseGivesAnEmptyTree()
    {
        ViewFixture f(false);
        f.open();
        QCOMPARE(f.view->Model().ItemCount(), std::size_t(0));
        QVERIFY(!f.view->DeleteButton()->isEnabled());
        QVERIFY(f.view->Expenses().IsOpen());
    }

    void deleteFollowsTheSelection()
    {
        ViewFixture f;
        f.open();
        QVERIFY(!f.view->DeleteButton()->isEnabled());
        f.view->SelectItem(f.view->Model().GetRootItem());
        QVERIFY(f.view->DeleteButton()->isEnabled());
        f.view->SelectItem(nullptr);
        QVERIFY(!f.view->DeleteButton()->isEnabled());
        f.view->SelectItem(f.view->Model().GetRootItem());
        f.view->OnUpdate(UpdateHint::DatabaseOpened);  // a reload of the same file keeps the selection
        QCOMPARE(f.view->SelectedItem(), f.view->Model().GetRootItem());
        QVERIFY(f.view->DeleteButton()->isEnabled());
        f.connection.Close();
        f.view->OnUpdate(UpdateHint::DatabaseOpened);
        QVERIFY(!f.view->AddNewButton()->isEnabled());
        QVERIFY(!f.view->DeleteButton()->isEnabled());
    }

    void operationsForChangingTheTreeInPlace()
    {
        ViewFixture f;
        f.open();
        CQuillmarView& view = *f.view;
        ExpenseTreeModel& model = view.Model();
        CAdoRecordset& rs = view.Expenses();

        // A line for the Birch hotel row finds the Birch group.
        rs.m_strFind = "Item='Hotel'";
        QVERIFY(rs.FindFirst());
        ExpenseTree& tree = view.Tree();
        auto hotelLine = tree.MakeLine(tree.CurrentRow());
        ExpenseTreeModel::Item birch = tree.FindTopLevelGroup(*hotelLine);
        QVERIFY(birch);
        QCOMPARE(QString::fromStdString(model.GetItemData(birch)->m_strLabel), QString("Birch"));

        // A new type-0 group for 2003 goes first, one for 2004 after Tax YR 2004, a type 15 after Birch.
        view.Types().m_strFind = "ExpType=0";
        rs.m_strFind = "Item='Donation'";
        QVERIFY(rs.FindFirst());
        CExpTreeItem taxGroup(CExpTreeItem::TypeGroup, tree.CurrentRow(), view.Types(), view.Projects());
        taxGroup.m_nYearKey = 2003;
        QCOMPARE(tree.FindGroupPosition(taxGroup), ExpenseTreeModel::kFirst);
        taxGroup.m_nYearKey = 2004;
        QCOMPARE(tree.FindGroupPosition(taxGroup), model.GetRootItem());
        taxGroup.m_nExpType = 15;
        taxGroup.m_nProjectKey = 2004;
        QCOMPARE(QString::fromStdString(model.GetItemData(tree.FindGroupPosition(taxGroup))->m_strLabel), QString("Birch"));
        taxGroup.m_nExpType = 99;
        QCOMPARE(tree.FindGroupPosition(taxGroup), ExpenseTreeModel::kLast);

        // Build a line under Birch, finish and re-show.
        rs.m_strFind = "Item='Dinner'";
        QVERIFY(rs.FindFirst());
        const std::size_t before = model.ChildCount(birch);
        const ExpenseRow dinner = tree.CurrentRow();
        ExpenseTreeModel::Item added = tree.AddLine(birch);
        QCOMPARE(model.ChildCount(birch), before + 1);
        QCOMPARE(model.GetParentItem(added), birch);
        QVERIFY(model.IsLine(added));
        QCOMPARE(tree.Line(added)->m_strItem, std::string("Dinner"));  // read from its row when asked
        model.GetItemData(birch)->AddRecord(dinner);
        tree.ReShow(birch);
        QCOMPARE(QString::fromStdString(model.GetItemData(birch)->m_strText), QString("Birch =   294.00,  IN=0.00,  SU=0.00,  PD=300.00"));
        ExpenseTreeModel::Item next = tree.FinishGroupAndStartNext(birch, CExpTreeItem::TypeGroup, dinner, nullptr);
        QCOMPARE(model.GetNextSiblingItem(model.GetNextSiblingItem(birch)), next);

        // Category groups are found by exact name, only among a group's category children.
        view.TabControl()->setCurrentIndex(1);
        ExpenseTreeModel::Item acme = model.GetNextSiblingItem(model.GetNextSiblingItem(model.GetNextSiblingItem(model.GetRootItem())));
        QCOMPARE(QString::fromStdString(model.GetItemData(acme)->m_strLabel), QString("Acme"));
        ExpenseTreeModel::Item meals = tree.FindCategoryGroup(acme, "MEALS");
        QVERIFY(meals);
        QCOMPARE(QString::fromStdString(model.GetItemData(meals)->m_strCategory), QString("MEALS"));
        QVERIFY(!tree.FindCategoryGroup(acme, "meals"));
        QVERIFY(!tree.FindCategoryGroup(acme, "HOTEL"));
    }
};

QTEST_MAIN(CQuillmarViewTest)
#include "CQuillmarViewTest.moc"
