// The tree keeps its place across each kind of rebuild of the same database and starts fresh on
// another; Find narrows the tree, sums what it shows and counts it; the view commands on a
// narrowed tree leave it as a narrowed rebuild would.
#include <QLabel>

#include "tests/mainform/ViewCommandsFixture.h"

namespace {

bool expanded(Fixture& f, const char* start) { return f.view->TreeView()->isExpanded(f.model().IndexOf(f.find(start))); }

QString selectedText(Fixture& f)
{
    const Item selected = f.view->SelectedItem();
    return selected ? QString::fromStdString(f.model().Text(selected)) : QString();
}

void findText(Fixture& f, const QString& text)
{
    f.view->OnFind();
    f.view->FindEdit()->setText(text);
}

// Opens Acme and the 2005 tax year and selects the lunch line.
void takePlace(Fixture& f)
{
    f.view->TreeView()->setExpanded(f.model().IndexOf(f.find("Acme")), true);
    f.view->TreeView()->setExpanded(f.model().IndexOf(f.find("Tax YR: 2005")), true);
    f.view->SelectItem(f.find("12/24 SU"));
}

enum class Rebuild { TabChange, Reopen, CommandRefresh, FindCleared, FindEscaped };

// The view commands run on a tree narrowed by a text.
enum class Change { AddMatching, AddNotMatching, EditStaying, EditLeaving, DeleteLine, DeleteGroup, Restate };

}  // namespace

Q_DECLARE_METATYPE(Rebuild)
Q_DECLARE_METATYPE(Change)

class TreePlaceFindTest : public QObject {
    Q_OBJECT
private slots:
    void placeSurvivesEachRebuild_data()
    {
        QTest::addColumn<Rebuild>("rebuild");
        QTest::newRow("tab change") << Rebuild::TabChange;
        QTest::newRow("HotSync re-open") << Rebuild::Reopen;
        QTest::newRow("backup or lookup editor") << Rebuild::CommandRefresh;
        QTest::newRow("find cleared") << Rebuild::FindCleared;
        QTest::newRow("find escaped") << Rebuild::FindEscaped;
    }
    void placeSurvivesEachRebuild()
    {
        QFETCH(Rebuild, rebuild);
        Fixture f;
        takePlace(f);
        switch (rebuild) {
        case Rebuild::TabChange: f.view->TabControl()->setCurrentIndex(1); break;
        case Rebuild::Reopen: f.view->OnUpdate(UpdateHint::DatabaseOpened); break;
        case Rebuild::CommandRefresh: f.view->RefreshTree(); break;
        case Rebuild::FindCleared:
            findText(f, "gas");  // hides the 2005 tax year and the selected line
            QVERIFY(!f.find("Tax YR: 2005"));
            f.view->FindEdit()->clear();
            break;
        case Rebuild::FindEscaped:
            findText(f, "ga");
            f.view->FindEdit()->setText("gas");
            QTest::keyClick(f.view->FindEdit(), Qt::Key_Escape);
            QVERIFY(f.view->FindBar()->isHidden());
            QVERIFY(f.view->FindEdit()->text().isEmpty());
            break;
        }
        QCOMPARE(f.model().ItemCount(), rebuild == Rebuild::TabChange ? std::size_t(26) : std::size_t(17));
        QVERIFY(expanded(f, "Acme"));
        QVERIFY(expanded(f, "Tax YR: 2005"));
        QVERIFY(!expanded(f, "Birch"));
        QVERIFY(!expanded(f, "Tax YR: 2004"));
        QVERIFY(selectedText(f).startsWith("12/24 SU"));
        QVERIFY(f.view->DeleteButton()->isEnabled());
    }

    void aLineGoneSelectsItsGroup()
    {
        Fixture f;
        takePlace(f);
        f.db.exec("DELETE FROM Expenses WHERE Item = 'Lunch'");
        f.view->OnUpdate(UpdateHint::DatabaseOpened);
        QCOMPARE(f.view->SelectedItem(), f.find("Acme"));
        QVERIFY(expanded(f, "Acme"));
    }

    void theSelectedLineIsScrolledIntoView()
    {
        Fixture f;
        for (int i = 0; i < 60; ++i)
            f.db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, Item, Amount, ProjectID, TypeComp) "
                      "VALUES (0, 'GENERAL', '2004-02-01 00:00:00', 'Filler', 10000, 2004, 0)");
        f.view->RefreshTree();
        f.view->resize(834, 509);
        f.view->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        f.view->TreeView()->expandAll();
        f.view->SelectItem(f.find("06/01"));
        f.view->TreeView()->scrollToTop();
        f.view->TabControl()->setCurrentIndex(1);
        QTest::qWait(20);
        QVERIFY(selectedText(f).startsWith("06/01"));
        const QRect shown = f.view->TreeView()->visualRect(f.model().IndexOf(f.view->SelectedItem()));
        QVERIFY(f.view->TreeView()->viewport()->rect().contains(shown.center()));
    }

    void anotherDatabaseStartsFresh_data()
    {
        QTest::addColumn<bool>("another");
        QTest::newRow("the same database") << false;
        QTest::newRow("another database") << true;
    }
    void anotherDatabaseStartsFresh()
    {
        QFETCH(bool, another);
        Fixture f;
        TestDatabase other;
        fillTreeFixture(other);
        std::string currentPath = f.db.path();
        f.view->FollowDatabasePath(currentPath);
        f.view->OnUpdate(UpdateHint::DatabaseOpened);
        takePlace(f);
        findText(f, "lunch");
        f.connection.Close();
        currentPath = another ? other.path() : f.db.path();
        QVERIFY(f.connection.Open(currentPath));
        f.view->OnUpdate(UpdateHint::DatabaseOpened);
        QCOMPARE(f.view->FindBar()->isHidden(), another);
        QCOMPARE(f.model().ItemCount(), another ? std::size_t(17) : std::size_t(2));
        QCOMPARE(expanded(f, "Acme"), !another);
        QCOMPARE(selectedText(f).startsWith("12/24 SU"), !another);
    }

    void findNarrowsAndSums_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("tree");
        QTest::addColumn<QString>("count");
        const QStringList returnTrip = {"Acme =    20.00,  IN=0.00,  SU=0.00,  PD=0.00",
                                        "  11/02 -- FUEL        20.00  Gas                  Return trip"};
        QTest::newRow("item, two lines") << "GAS"
                                         << QStringList{"Acme =    32.34,  IN=12.34,  SU=0.00,  PD=0.00",
                                                        "  11/02 -- FUEL        20.00  Gas                  Return trip",
                                                        "  12/25 IN FUEL        12.34  Gas                  Trip to client"}
                                         << "2 of 11 expenses";
        QTest::newRow("category in two groups")
            << "meals"
            << QStringList{"Acme =    45.00,  IN=0.00,  SU=45.00,  PD=0.00",
                           "  12/24 SU MEALS       45.00  Lunch                With Bob",
                           "Birch =    -3.00,  IN=0.00,  SU=0.00,  PD=0.00",
                           "  01/06 NA MEALS       -3.00  Dinner               Team"}
            << "2 of 11 expenses";
        QTest::newRow("amount") << "12.34"
                                << QStringList{"Acme =    12.34,  IN=12.34,  SU=0.00,  PD=0.00",
                                               "  12/25 IN FUEL        12.34  Gas                  Trip to client"}
                                << "1 of 11 expenses";
        QTest::newRow("amount in two types")
            << "1234.5"
            << QStringList{"Tax YR: 2004 =  1234.50", "  01/10  PROPTAX   1234.50  County tax           First half",
                           "OFFC: 2004 =  1234.50",
                           "  Invalid DateTime  SUPPLIES  1234.50  Paper                Café order"}
            << "2 of 11 expenses";
        QTest::newRow("accent") << "CAFÉ"
                                << QStringList{"OFFC: 2004 =  1234.50",
                                               "  Invalid DateTime  SUPPLIES  1234.50  Paper                Café order"}
                                << "1 of 11 expenses";
        QTest::newRow("accent not folded") << "cafe" << QStringList() << "0 of 11 expenses";
        QTest::newRow("vendor") << "shell" << returnTrip << "1 of 11 expenses";
        QTest::newRow("account") << "visa" << returnTrip << "1 of 11 expenses";
        QTest::newRow("check number") << "1042" << returnTrip << "1 of 11 expenses";
        QTest::newRow("nothing") << "xyzzy" << QStringList() << "0 of 11 expenses";
    }
    void findNarrowsAndSums()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, tree);
        QFETCH(QString, count);
        Fixture f;
        f.db.exec("UPDATE Expenses SET Vendor = 'Shell', AcctCode = 'VISA', ChkNbr = '1042' WHERE Detail = 'Return trip'");
        f.view->RefreshTree();
        findText(f, text);
        QCOMPARE(dump(*f.view), tree);
        QCOMPARE(f.view->FindCount()->text(), count);
        f.view->CloseFind();
        QCOMPARE(dump(*f.view).size(), 17);
    }

    void findSeesRowsChangedOutsideAfterTheReopen()
    {
        Fixture f;
        findText(f, "gas");
        f.db.exec("UPDATE Expenses SET Item = 'Diesel' WHERE Item = 'Gas'");  // as a HotSync would
        f.view->OnUpdate(UpdateHint::DatabaseOpened);
        QCOMPARE(f.view->FindCount()->text(), QString("0 of 11 expenses"));
        f.view->FindEdit()->setText("dies");
        QCOMPARE(f.view->FindCount()->text(), QString("2 of 11 expenses"));
    }

    void commandsOnAFilteredTreeEqualAFilteredRebuild_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("count");
        QTest::newRow("add a matching expense") << Change::AddMatching << "fuel" << "3 of 12 expenses";
        QTest::newRow("add one the text does not match") << Change::AddNotMatching << "fuel" << "2 of 12 expenses";
        QTest::newRow("edit the amount") << Change::EditStaying << "gas" << "2 of 11 expenses";
        QTest::newRow("edit it out of the text") << Change::EditLeaving << "gas" << "1 of 11 expenses";
        QTest::newRow("delete a line") << Change::DeleteLine << "gas" << "1 of 10 expenses";
        QTest::newRow("delete a group") << Change::DeleteGroup << "gas" << "0 of 9 expenses";
        QTest::newRow("re-state a group") << Change::Restate << "gas" << "2 of 11 expenses";
    }
    void commandsOnAFilteredTreeEqualAFilteredRebuild()
    {
        QFETCH(Change, change);
        QFETCH(QString, text);
        QFETCH(QString, count);
        for (const int sortMode : {0, 1}) {
            Fixture f(sortMode);
            findText(f, text);
            switch (change) {
            case Change::AddMatching:
            case Change::AddNotMatching:
                enterExpense("TRVL", "Acme", change == Change::AddMatching ? "FUEL" : "MEALS", QDate(2006, 1, 2), "10.00");
                f.view->OnAddNew();
                break;
            case Change::EditStaying:
            case Change::EditLeaving:
                whenModal<CExpEditDlg>([change](CExpEditDlg* dialog) {
                    dialog->findChild<QLineEdit*>(change == Change::EditLeaving ? "itemEdit" : "amountEdit")
                        ->setText(change == Change::EditLeaving ? "Diesel" : "25.00");
                    dialog->findChild<QPushButton*>("saveButton")->click();
                });
                // A reimbursed line: an edited line of a reimbursable type that is not paid back
                // shows a blank status until the next rebuild, filtered or not.
                f.view->OnDoubleClick(f.find(change == Change::EditLeaving ? "11/02" : "12/25", f.find("Acme")));
                break;
            case Change::DeleteLine:
                f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
                f.view->SelectItem(f.find("11/02", f.find("Acme")));
                f.view->OnDelete();
                break;
            case Change::DeleteGroup:
                f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
                f.view->SelectItem(f.find("Acme"));
                f.view->OnDelete();
                break;
            case Change::Restate:
                restateFromTo("IN", "PD");
                f.view->OnDoubleClick(f.find("Acme"));
                break;
            }
            const QString shownCount = f.view->FindCount()->text();
            QCOMPARE(shownCount, count);
            EXPECT_TREE_AS_REBUILT(f);
            QCOMPARE(f.view->FindCount()->text(), count);
        }
    }
};

QTEST_MAIN(TreePlaceFindTest)
#include "TreePlaceFindTest.moc"
