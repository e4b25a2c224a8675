// The view commands through the real dialogs: Add New, Delete (line, category, group), edit and
// re-state by double-click, by mouse and keyboard. After each, the tree must read as a rebuild
// of the database would, except where the commands deliberately differ until the next rebuild.
#include "tests/mainform/ViewCommandsFixture.h"

class ViewCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void addNewJoinsItsGroupAndUpdatesTheSums()
    {
        Fixture f;
        enterExpense("TRVL", "Acme", "FUEL", QDate(2006, 1, 2), "10.00");
        f.view->OnAddNew();
        QCOMPARE(f.db.count("Expenses"), 12);
        const Item acme = f.find("Acme");
        QCOMPARE(QString::fromStdString(f.model().Text(acme)), QString("Acme =    87.34,  IN=22.34,  SU=45.00,  PD=0.00"));
        const Item added = f.view->SelectedItem();
        QVERIFY(added);
        QCOMPARE(f.model().GetParentItem(added), acme);
        QVERIFY(QString::fromStdString(f.model().Text(added)).startsWith("01/02 IN FUEL        10.00  New item"));
        EXPECT_TREE_AS_REBUILT(f);
    }

    void addNewOfATaxYearWithoutGroupMakesATypeGroupInOrder()
    {
        Fixture f;
        enterExpense("TAX", nullptr, "GENERAL", QDate(2003, 7, 1), "12.50");
        f.view->OnAddNew();
        const Item first = f.model().GetRootItem();
        // Until the next rebuild the new group keeps the "%s = %8s" form.
        QCOMPARE(QString::fromStdString(f.model().Text(first)), QString("TAX YR 2003 =    12.50"));
        QCOMPARE(f.db.scalar("SELECT ProjectID || '/' || ExpYear || '/' || TypeComp FROM Expenses WHERE Item='New item'"), std::string("2003/2003/0"));
        QCOMPARE(f.rebuilt().first(), QString("Tax YR: 2003 =    12.50"));
    }

    void addNewByCategoryAppendsANewCategoryGroup()
    {
        Fixture f(1);
        enterExpense("TRVL", "Acme", "HOTEL", QDate(2006, 1, 2), "99.99", false);
        f.view->OnAddNew();
        const Item acme = f.find("Acme");
        Item last = f.model().GetChildItem(acme);
        while (f.model().GetNextSiblingItem(last))
            last = f.model().GetNextSiblingItem(last);
        QCOMPARE(QString::fromStdString(f.model().GetItemData(last)->m_strCategory), std::string("HOTEL").c_str());
        QVERIFY(QString::fromStdString(f.model().Text(acme)).startsWith("Acme =   177.33,"));
        // A rebuild sorts the category in, with the same sums.
        const QStringList rebuilt = f.rebuilt();
        QVERIFY(rebuilt.contains("  HOTEL    =    99.99, IN=0.00,    SU=0.00,    PD=0.00"));
    }

    void cancelledDialogChangesNothing()
    {
        Fixture f;
        const QStringList before = dump(*f.view);
        whenModal<CExpenseDlg>([](CExpenseDlg* dialog) { dialog->reject(); });
        f.view->OnAddNew();
        QCOMPARE(dump(*f.view), before);
        QCOMPARE(f.db.count("Expenses"), 11);
    }

    void deletingTheOnlyLineOfTheOnlyCategoryRemovesItsGroups()
    {
        Fixture f(1);
        const Item estLine = f.find("04/15");
        QVERIFY(estLine);
        f.view->SelectItem(estLine);
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.view->OnDelete();
        QCOMPARE(f.messages.texts(), QStringList({"Do you wish to delete the selected expense item?"}));
        QCOMPARE(f.messages.shown().front().caption, QString("Confirm Delete"));
        QCOMPARE(f.messages.shown().front().buttons, ui::MessageBox::Buttons::YesNo);
        QCOMPARE(f.messages.shown().front().icon, ui::MessageBox::Icon::Question);
        QVERIFY(!f.find("EST TAX"));
        QVERIFY(!f.find("FEDERAL  ="));
        QCOMPARE(f.db.count("Expenses", "ExpType=1"), 0);
        EXPECT_TREE_AS_REBUILT(f);
    }

    void deletingALineUpdatesItsGroupsAndNoKeepsIt()
    {
        Fixture f(1);
        const Item lunch = f.find("12/24 SU");
        f.view->SelectItem(lunch);
        f.view->OnDelete();  // answered No
        QCOMPARE(f.db.count("Expenses"), 11);
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.view->OnDelete();
        QCOMPARE(f.db.count("Expenses"), 10);
        QVERIFY(f.find("Acme =    32.34,  IN=12.34,  SU=0.00,  PD=0.00"));
        EXPECT_TREE_AS_REBUILT(f);
    }

    void deletingACategorySubtractsItAtOnce()
    {
        Fixture f(1);
        const Item fuel = f.find("FUEL     =");
        f.view->SelectItem(fuel);
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.view->OnDelete();
        QCOMPARE(f.messages.texts(), QStringList({"Do you wish to delete all the expense items in the FUEL Category?"}));
        QVERIFY(f.find("Acme =    45.00,  IN=0.00,  SU=45.00,  PD=0.00"));
        QCOMPARE(f.db.count("Expenses", "ExpCat='FUEL'"), 0);
        EXPECT_TREE_AS_REBUILT(f);
    }

    void deletingAGroupDeletesEveryRowUnderIt()
    {
        for (const int mode : {0, 1}) {
            Fixture f(mode);
            f.view->SelectItem(f.find("Birch"));
            f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
            f.view->OnDelete();
            QCOMPARE(f.messages.texts(), QStringList({"Do you wish to delete all the expense items in the Birch Group?"}));
            QCOMPARE(f.db.count("Expenses", "ProjectID=8"), 0);
            QCOMPARE(f.db.count("Expenses"), 9);
            EXPECT_TREE_AS_REBUILT(f);
        }
        Fixture f;
        f.view->SelectItem(f.find("OFFC: 2004"));
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.view->OnDelete();
        QCOMPARE(f.messages.texts(), QStringList({"Do you wish to delete all the expense items in the OFFC: 2004 Group?"}));
    }

    void editingALineKeepsEveryTotalRight()
    {
        Fixture f;
        f.view->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.view.get()));
        f.view->TreeView()->expandAll();
        f.view->SelectItem(f.find("12/24 SU"));
        QTest::qWait(20);  // lets the view lay out the expanded lines
        whenModal<CExpEditDlg>([](CExpEditDlg* dialog) {
            QCOMPARE(dialog->findChild<QLineEdit*>("groupEdit")->text(), QString("Acme"));
            dialog->findChild<QLineEdit*>("amountEdit")->setText("50.00");
            dialog->findChild<QPushButton*>("saveButton")->click();
        });
        const QPoint at = f.view->TreeView()->visualRect(f.model().IndexOf(f.find("12/24 SU"))).center();
        QTest::mouseClick(f.view->TreeView()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(f.view->TreeView()->viewport(), Qt::LeftButton, {}, at);
        QVERIFY(f.find("Acme =    82.34,  IN=12.34,  SU=50.00,  PD=0.00"));
        QVERIFY(f.find("12/24 SU MEALS       50.00"));
        EXPECT_TREE_AS_REBUILT(f);
    }

    void editingTheCategoryMovesTheLine()
    {
        Fixture f(1);
        f.view->SelectItem(f.find("12/24 SU"));  // the only MEALS line of Acme
        whenModal<CExpEditDlg>([](CExpEditDlg* dialog) {
            auto* categories = dialog->findChild<CCodeDescCombo*>("categoryCombo");
            categories->setCurrentIndex(categories->FindPrefix("HOTEL"));
            dialog->findChild<QPushButton*>("saveButton")->click();
        });
        f.view->OnDoubleClick(f.view->SelectedItem());
        const Item acme = f.find("Acme");
        QStringList categories;
        for (Item c = f.model().GetChildItem(acme); c; c = f.model().GetNextSiblingItem(c))
            categories << QString::fromStdString(f.model().GetItemData(c)->m_strCategory);
        QCOMPARE(categories, QStringList({"FUEL", "HOTEL"}));  // MEALS emptied and went; HOTEL made at the end
        QVERIFY(f.find("Acme =    77.34,  IN=12.34,  SU=45.00,  PD=0.00"));
        QCOMPARE(f.db.scalar("SELECT ExpCat FROM Expenses WHERE Item='Lunch'"), std::string("HOTEL"));
        EXPECT_TREE_AS_REBUILT(f);
    }

    void restatingAProjectMovesItsSums()
    {
        for (const int mode : {0, 1}) {
            Fixture f(mode);
            f.db.exec("UPDATE Expenses SET Status=1 WHERE Item='Lunch'");  // Acme: IN 12.34 + 45.00
            f.view->RefreshTree();
            f.view->SelectItem(f.find("Acme"));
            restateFromTo("IN", "SU");
            f.view->OnDoubleClick(f.view->SelectedItem());
            QVERIFY2(f.find("Acme =    77.34,  IN=0.00,  SU=57.34,  PD=0.00"), qPrintable(dump(*f.view).join('\n')));
            QCOMPARE(f.db.scalar("SELECT group_concat(Item || Status, ',') FROM Expenses WHERE ProjectID=7 ORDER BY ExpID"),
                     std::string("Gas2,Lunch2,Gas0"));  // the status-0 line kept its status
            EXPECT_TREE_AS_REBUILT(f);
        }
    }

    void restatingACategory()
    {
        Fixture f(1);
        f.view->SelectItem(f.find("HOTEL    ="));
        restateFromTo("PD", "IN");
        f.view->OnDoubleClick(f.view->SelectedItem());
        QVERIFY(f.find("Birch =   297.00,  IN=300.00,  SU=0.00,  PD=0.00"));
        EXPECT_TREE_AS_REBUILT(f);
    }

    void doubleClickOnAnOrdinaryGroupOrNothingDoesNothing()
    {
        Fixture f;
        bool dialogSeen = false;
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                dialogSeen = true;
                modal->close();
            }
        });
        guard.start(10);
        f.view->SelectItem(f.find("OFFC: 2004"));
        f.view->OnDoubleClick(f.view->SelectedItem());
        f.view->OnDoubleClick(nullptr);
        f.view->SelectItem(nullptr);
        f.view->OnDelete();
        QTest::qWait(50);
        QVERIFY(!dialogSeen);
        QVERIFY(f.messages.shown().empty());
    }

    void afterALineTheNextLineIsSelectedAndGroupsDefaultToNo()
    {
        Fixture f;
        f.view->SelectItem(f.find("11/02 --"));  // the first of Acme's three lines
        for (const char* expected : {"12/24 SU", "12/25 IN"}) {
            f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
            f.view->OnDelete();
            QVERIFY(f.view->SelectedItem());
            QVERIFY(QString::fromStdString(f.model().Text(f.view->SelectedItem())).startsWith(expected));
            QVERIFY(f.view->DeleteButton()->isEnabled());
        }
        f.view->SelectItem(f.find("01/06 NA"));  // the last line of Birch: the one before it follows
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.view->OnDelete();
        QVERIFY(QString::fromStdString(f.model().Text(f.view->SelectedItem())).startsWith("01/05 PD"));
        for (const auto& shown : f.messages.shown())
            QCOMPARE(shown.defaultAnswer, ui::MessageBox::Answer::Yes);

        f.messages.clear();
        f.view->SelectItem(f.find("Birch"));
        f.view->OnDelete();  // not answered: the default
        Fixture byCategory(1);
        byCategory.view->SelectItem(byCategory.find("HOTEL    ="));
        byCategory.view->OnDelete();
        QCOMPARE(f.messages.shown().front().defaultAnswer, ui::MessageBox::Answer::No);
        QCOMPARE(byCategory.messages.shown().front().defaultAnswer, ui::MessageBox::Answer::No);
        QCOMPARE(f.db.count("Expenses"), 8);
        QCOMPARE(byCategory.db.count("Expenses"), 11);
    }

    void theKeyboardDoesWhatTheMouseDoes()
    {
        Fixture f;
        f.view->SelectItem(f.find("11/02 --"));
        bool edited = false;
        whenModal<CExpEditDlg>([&edited](CExpEditDlg* dialog) {
            edited = true;
            dialog->reject();
        });
        QTest::keyClick(f.view->TreeView(), Qt::Key_Return);  // Enter edits the line
        QVERIFY(edited);
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        QTest::keyClick(f.view->TreeView(), Qt::Key_Delete);  // Delete deletes it
        QCOMPARE(f.db.count("Expenses"), 10);
        EXPECT_TREE_AS_REBUILT(f);
    }

    void aDateInAnotherYearMovesTheLineAtOnce()
    {
        const struct {
            const char* line;
            const char* date;
            int mode;
            const char* group;
            const char* stored;  // ExpYear/ProjectID
            bool asRebuilt;      // a group made for the line reads as a rebuild makes it
        } cases[] = {
            {"06/01  SUPPLIES", "2005-02-03", 0, "OFFC: 2005 =     0.50", "2005/2005", true},
            {"06/01", "2005-02-03", 1, "OFFC: 2005 =     0.50", "2005/2005", true},
            {"04/15  FEDERAL", "2005-04-15", 0, "EST TAX 2005 =   500.00", "2005/2005", false},
            {"03/15  GENERAL", "2005-03-15", 0, "Tax YR: 2005 =   150.00", "2005/2005", true},
            // A project's expense stays in its project's group, in place.
            {"12/24 SU", "2006-12-24", 0, "Acme =    77.34,  IN=12.34,  SU=45.00,  PD=0.00", "2006/7", false},
        };
        for (const auto& c : cases) {
            Fixture f(c.mode);
            const Item line = f.find(c.line);
            QVERIFY2(line, c.line);
            const std::string item = f.view->Tree().Line(line)->m_strItem;
            f.view->SelectItem(line);
            const QDate date = QDate::fromString(c.date, Qt::ISODate);
            whenModal<CExpEditDlg>([date](CExpEditDlg* dialog) {
                dialog->findChild<ui::DatePicker*>("datePicker")->setDate(date);
                dialog->findChild<QPushButton*>("saveButton")->click();
            });
            f.view->OnDoubleClick(f.view->SelectedItem());
            QCOMPARE(f.db.scalar("SELECT ExpYear || '/' || ProjectID FROM Expenses WHERE Item='" + item + "'"),
                     std::string(c.stored));
            const Item group = f.find(c.group);
            QVERIFY2(group, qPrintable(dump(*f.view).join('\n')));
            const Item moved = f.view->SelectedItem();
            QVERIFY(moved);
            QCOMPARE(f.view->Tree().TopLevelOf(moved), group);
            QCOMPARE(f.view->Tree().Line(moved)->m_strItem, item);
            QVERIFY(f.messages.shown().empty());
            if (c.asRebuilt)
                EXPECT_TREE_AS_REBUILT(f);
        }
    }
};

QTEST_MAIN(ViewCommandsTest)
#include "ViewCommandsTest.moc"
