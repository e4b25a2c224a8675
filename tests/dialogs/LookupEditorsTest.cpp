// The lookup editors (accounts, expense types and categories, projects), driven as a user would:
// what the lists show, the refusals of the entry dialogs, where new and changed rows go, what is
// stored, that every stored change tells the handheld once, and that a refused store leaves the
// tables and the lists as they were.
#include <QtTest>

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "dialogs/CAccountsDlg.h"
#include "dialogs/CAcctEditDlg.h"
#include "dialogs/CCategoriesDlg.h"
#include "dialogs/CExpCatDlg.h"
#include "dialogs/CExpTypeDlg.h"
#include "dialogs/CLookupList.h"
#include "dialogs/CNewProjDlg.h"
#include "dialogs/CProjectsDlg.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TestDatabase.h"

namespace {

using Answer = ui::MessageBox::Answer;

struct Fixture {
    TestDatabase db;
    CADODataBase connection;
    MessageLog messages;

    Fixture()
    {
        db.exec("UPDATE QlVersion SET Major = 5, Minor = 1 WHERE AppCode = 'PalmUpdt'");  // version 5 delivered
        db.exec("INSERT INTO lkpAccounts (AcctCode, AcctDesc) VALUES ('VISA', 'Visa card')");
        db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES "
                "(12, 'TRVL', 'Travel', 2), (20, 'OFFC', 'Office', 1)");
        db.exec("INSERT INTO lkpExpCategories (ExpType, ExpCat, CatDesc) VALUES "
                "(12, 'MEALS', 'Meals'), (12, 'FUEL', 'Gas and oil'), (20, 'SUPPLIES', 'Supplies')");
        db.exec("INSERT INTO Projects (ProjectID, ProjectName, ProjectDesc) VALUES "
                "(7, 'Acme', 'Acme audit'), (1, 'Birch', 'Birch move'), (2, 'Cedar', 'Cedar roof')");
        db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Amount, ProjectID, TypeComp) VALUES "
                "(12, 'FUEL', '2026-03-01 00:00:00', 2026, 'Fill up', 400000, 7, 2), "
                "(12, 'MEALS', '2026-03-02 00:00:00', 2026, 'Lunch', 120000, 7, 2), "
                "(20, 'SUPPLIES', '2026-04-01 00:00:00', 2026, 'Paper', 50000, 2026, 1)");
        if (!connection.Open(db.path()))
            qFatal("cannot open the test database");
    }
    std::string version() const { return db.scalar("SELECT Major || '/' || Minor FROM QlVersion WHERE AppCode = 'PalmUpdt'"); }
};

template <typename T>
T* child(QWidget* dialog, const char* name)
{
    T* widget = dialog->findChild<T*>(name);
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

struct Typed {
    const char* edit;  // object name of the edit
    QString text;      // typed into it after clearing it, within its limits
};

// Runs open, which shows the entry dialog D modally; types into its edits, presses Save, and
// cancels the dialog when a refusal kept it open. Answers whether Save closed it.
template <typename D>
bool saveIn(const std::function<void()>& open, const std::vector<Typed>& typed, std::function<void(D*)> look = {})
{
    bool saved = false;
    whenModal<D>([&](D* dialog) {
        if (look)
            look(dialog);
        for (const Typed& t : typed) {
            auto* edit = child<QLineEdit>(dialog, t.edit);
            edit->clear();
            edit->insert(t.text);
        }
        child<QPushButton>(dialog, "saveButton")->click();
        saved = !dialog->isVisible();
        if (!saved)
            dialog->reject();
    });
    open();
    return saved;
}

QStringList rows(const CLookupList* list)
{
    QStringList out;
    for (int row = 0; row < list->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < list->columnCount(); ++column)
            cells << list->item(row, column)->text();
        out << cells.join('|');
    }
    return out;
}

// The tree as "number LABEL" lines with their categories indented.
QStringList tree(const QTreeWidget* tree)
{
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* type = tree->topLevelItem(i);
        out << type->data(0, CCategoriesDlg::CodeRole).toString() + " " + type->data(0, CCategoriesDlg::LabelRole).toString();
        for (int j = 0; j < type->childCount(); ++j)
            out << "  " + type->child(j)->data(0, CCategoriesDlg::CodeRole).toString();
    }
    return out;
}

QTreeWidgetItem* typeItem(QTreeWidget* tree, int number)
{
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        if (tree->topLevelItem(i)->data(0, CCategoriesDlg::CodeRole).toInt() == number)
            return tree->topLevelItem(i);
    qFatal("no type %d", number);
}

void click(QWidget* dialog, const char* button) { child<QPushButton>(dialog, button)->click(); }

}  // namespace

class LookupEditorsTest : public QObject {
    Q_OBJECT
private slots:
    void accountsListAddsDeletesAndNeverDeletesTheLast()
    {
        Fixture f;
        f.db.exec("DELETE FROM lkpAccounts WHERE AcctCode <> 'VISA'");
        {
            CAccountsDlg dialog(f.connection);
            CLookupList* list = dialog.List();
            QCOMPARE(rows(list), QStringList({"VISA|Visa card"}));
            list->selectRow(0);
            QVERIFY(!child<QPushButton>(&dialog, "deleteButton")->isEnabled());  // the last account stays

            QVERIFY(saveIn<CAcctEditDlg>([&] { click(&dialog, "newButton"); }, {{"codeEdit", "AMEX"}, {"descEdit", "Amex"}}));
            QCOMPARE(rows(list), QStringList({"VISA|Visa card", "AMEX|Amex"}));  // at the end until reopened
            QCOMPARE(list->SelectedRow(), 1);
            QVERIFY(child<QPushButton>(&dialog, "deleteButton")->isEnabled());
            QCOMPARE(f.version(), std::string("6/0"));

            list->selectRow(0);
            click(&dialog, "deleteButton");
            QCOMPARE(rows(list), QStringList({"AMEX|Amex"}));
            QVERIFY(!child<QPushButton>(&dialog, "deleteButton")->isEnabled());
            QVERIFY(dialog.Changed());
            dialog.reject();  // Escape: the changes are stored and announced all the same
        }
        QCOMPARE(f.db.scalar("SELECT group_concat(AcctCode) FROM lkpAccounts"), std::string("AMEX"));
        QCOMPARE(f.version(), std::string("6/0"));  // once for the whole session
        QVERIFY(f.messages.texts().isEmpty());

        CAccountsDlg unchanged(f.connection);
        unchanged.accept();
        QCOMPARE(f.version(), std::string("6/0"));
        QVERIFY(!unchanged.Changed());
    }

    void accountEntryRefusesWhatItMustAndStoresTextsUnchanged()
    {
        const struct {
            QString code, desc, refusal;
        } cases[] = {
            {"", "Cash", "Please enter Account code."},
            {"CASH", "", "Please enter Account Description."},
            {"visa", "Same code, other case", "Duplicate Accounts are not allowed."},
            {"O'B", "O'Brien's \"bank\"", ""},
            {"Çé", "Crédit Agricole", ""},
            {"ABCDE", "Typed past the limit", ""},
        };
        Fixture f;
        CAccountsDlg dialog(f.connection);
        for (const auto& c : cases) {
            f.messages.clear();
            const bool saved = saveIn<CAcctEditDlg>([&] { click(&dialog, "newButton"); },
                                                   {{"codeEdit", c.code}, {"descEdit", c.desc}});
            QCOMPARE(saved, c.refusal.isEmpty());
            QCOMPARE(f.messages.texts(), c.refusal.isEmpty() ? QStringList() : QStringList({c.refusal}));
        }
        QCOMPARE(f.messages.shown().empty(), true);
        QCOMPARE(f.db.scalar("SELECT AcctDesc FROM lkpAccounts WHERE AcctCode = 'O''B'"), std::string("O'Brien's \"bank\""));
        QCOMPARE(f.db.count("lkpAccounts", "AcctCode = 'Çé'"), 1);
        QCOMPARE(f.db.count("lkpAccounts", "AcctCode = 'ABCD'"), 1);

        // An edit keeps its code without a refusal; the row shows what was stored.
        const int visa = rows(dialog.List()).indexOf(QRegularExpression("VISA\\|.*"));
        QVERIFY(saveIn<CAcctEditDlg>([&] { emit dialog.List()->EditRequested(visa); }, {{"descEdit", "Visa gold"}}));
        QVERIFY(f.messages.texts().isEmpty());
        QCOMPARE(rows(dialog.List())[visa], QString("VISA|Visa gold"));
        QCOMPARE(f.db.scalar("SELECT AcctDesc FROM lkpAccounts WHERE AcctCode = 'VISA'"), std::string("Visa gold"));
    }

    void aRefusedStoreIsReportedAndNothingOfItIsKept()
    {
        // A write the database refuses, and a version it cannot bump: either way neither the
        // row nor the version changes, and the list shows the table.
        const char* const refusals[] = {
            "CREATE TRIGGER refuse BEFORE INSERT ON lkpAccounts BEGIN SELECT RAISE(ABORT, 'disk full'); END",
            "CREATE TRIGGER refuse BEFORE UPDATE ON QlVersion BEGIN SELECT RAISE(ABORT, 'disk full'); END",
        };
        for (const char* refusal : refusals) {
            Fixture f;
            f.db.exec(refusal);
            CAccountsDlg dialog(f.connection);
            const QStringList before = rows(dialog.List());
            QVERIFY(!saveIn<CAcctEditDlg>([&] { click(&dialog, "newButton"); }, {{"codeEdit", "BANK"}, {"descEdit", "Bank"}}));
            QCOMPARE(f.messages.texts().size(), 1);
            QVERIFY2(f.messages.texts()[0].startsWith("The account could not be saved.\n") &&
                         f.messages.texts()[0].contains("disk full"),
                     qPrintable(f.messages.texts()[0]));
            QCOMPARE(f.db.count("lkpAccounts", "AcctCode = 'BANK'"), 0);
            QCOMPARE(f.version(), std::string("5/1"));
            QCOMPARE(rows(dialog.List()), before);
        }
    }

    void projectsGoToTheirPlaceByID()
    {
        Fixture f;
        CAdoRecordset projects(&f.connection);
        QVERIFY(projects.OpenTable("Projects"));
        CProjectsDlg dialog(projects);
        CLookupList* list = dialog.List();
        QCOMPARE(rows(list), QStringList({"1|Birch|Birch move", "2|Cedar|Cedar roof", "7|Acme|Acme audit"}));

        QString proposed;
        QVERIFY(saveIn<CNewProjDlg>([&] { click(&dialog, "newButton"); },
                                    {{"idEdit", "5"}, {"nameEdit", "Dune"}, {"descEdit", "Dune survey"}},
                                    [&](CNewProjDlg* d) { proposed = child<QLineEdit>(d, "idEdit")->text(); }));
        QCOMPARE(proposed, QString("8"));
        QCOMPARE(rows(list)[2], QString("5|Dune|Dune survey"));
        QCOMPARE(list->SelectedRow(), 2);

        // Another project's ID is refused; a new ID moves the row.
        QVERIFY(!saveIn<CNewProjDlg>([&] { emit list->EditRequested(1); }, {{"idEdit", "7"}}));
        QCOMPARE(f.messages.texts(), QStringList({"Please enter a unique value for ProjectID."}));
        QCOMPARE(f.messages.shown().back().caption, QString("Duplicate ProjectID"));
        QVERIFY(saveIn<CNewProjDlg>([&] { emit list->EditRequested(1); }, {{"idEdit", "9"}}));
        QCOMPARE(rows(list), QStringList({"1|Birch|Birch move", "5|Dune|Dune survey", "7|Acme|Acme audit", "9|Cedar|Cedar roof"}));
        QCOMPARE(list->SelectedRow(), 3);
        QCOMPARE(f.db.count("Projects", "ProjectID = 9 AND ProjectName = 'Cedar'"), 1);

        f.messages.clear();
        for (const char* id : {"", "0", "10000000", "12a"})  // the edit takes digits only
            QVERIFY(!saveIn<CNewProjDlg>([&] { click(&dialog, "newButton"); },
                                         {{"idEdit", id}, {"nameEdit", "X"}, {"descEdit", "Y"}}));
        QCOMPARE(f.messages.texts(), QStringList({"Please enter an integer.", "Please enter an integer between 1 and 9999999.",
                                                  "Please enter an integer between 1 and 9999999.",
                                                  "Please enter an integer."}));
        QCOMPARE(f.version(), std::string("6/0"));
    }

    void theFirstProjectIsProposedAsOne()
    {
        Fixture f;
        f.db.exec("DELETE FROM Projects");
        CAdoRecordset projects(&f.connection);
        QVERIFY(projects.OpenTable("Projects"));
        CProjectsDlg dialog(projects);
        QString proposed;
        QVERIFY(saveIn<CNewProjDlg>([&] { click(&dialog, "newButton"); }, {{"nameEdit", "Elm"}, {"descEdit", "Elm st"}},
                                    [&](CNewProjDlg* d) { proposed = child<QLineEdit>(d, "idEdit")->text(); }));
        QCOMPARE(proposed, QString("1"));
        QCOMPARE(rows(dialog.List()), QStringList({"1|Elm|Elm st"}));
    }

    void deletingAProjectInUseAsksFirst()
    {
        Fixture f;
        CAdoRecordset projects(&f.connection);
        QVERIFY(projects.OpenTable("Projects"));
        CProjectsDlg dialog(projects);
        CLookupList* list = dialog.List();
        list->selectRow(2);  // 7, charged with two expenses
        f.messages.queueAnswer(Answer::No);
        click(&dialog, "deleteButton");
        QCOMPARE(f.messages.texts(), QStringList({"2 expenses are charged to project 7 (Acme). Deleting the project leaves "
                                                  "them under a project that no longer exists.\n\nDelete the project anyway?"}));
        QCOMPARE(f.messages.shown().back().defaultAnswer, Answer::No);
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(f.version(), std::string("5/1"));

        f.messages.queueAnswer(Answer::Yes);
        list->selectRow(2);
        click(&dialog, "deleteButton");
        list->selectRow(0);  // 1, unused: no question
        click(&dialog, "deleteButton");
        QCOMPARE(f.messages.texts().size(), 2);
        QCOMPARE(rows(list), QStringList({"2|Cedar|Cedar roof"}));
        QCOMPARE(f.db.count("Projects"), 1);
        QCOMPARE(f.db.count("Expenses"), 3);  // the expenses stay
        QCOMPARE(f.version(), std::string("6/0"));
    }

    void categoriesTreeAndItsRefusals()
    {
        Fixture f;
        CAdoRecordset types(&f.connection);
        QVERIFY(types.OpenTable("lkpExpTypes"));
        CCategoriesDlg dialog(types);
        QTreeWidget* t = dialog.Tree();
        QCOMPARE(tree(t).join(','), QString("0 TAX,  %1,1 EST,  %2,12 TRVL,  FUEL,  MEALS,20 OFFC,  SUPPLIES")
                                       .arg(QString::fromStdString(f.db.scalar("SELECT ExpCat FROM lkpExpCategories WHERE ExpType = 0")),
                                            QString::fromStdString(f.db.scalar("SELECT ExpCat FROM lkpExpCategories WHERE ExpType = 1"))));
        QVERIFY(typeItem(t, 12)->data(0, CCategoriesDlg::ReimbursableRole).toBool());

        t->setCurrentItem(typeItem(t, 20)->child(0));  // the only category of its type
        QVERIFY(!child<QPushButton>(&dialog, "deleteButton")->isEnabled());
        t->setCurrentItem(typeItem(t, 0));
        QVERIFY(!child<QPushButton>(&dialog, "deleteButton")->isEnabled());
        QTest::keyClick(t, Qt::Key_Delete);
        QCOMPARE(f.messages.texts(), QStringList({"System Item - may not be deleted"}));

        f.messages.clear();
        QString preset;
        QVERIFY(!saveIn<CExpTypeDlg>([&] { click(&dialog, "groupButton"); },
                                     {{"typeEdit", "5"}, {"labelEdit", "misc"}, {"descEdit", "Misc"}},
                                     [&](CExpTypeDlg* d) { preset = child<QLineEdit>(d, "typeEdit")->text(); }));
        QCOMPARE(preset, QString("21"));
        QVERIFY(!saveIn<CExpTypeDlg>([&] { click(&dialog, "groupButton"); },
                                     {{"typeEdit", "12"}, {"labelEdit", "misc"}, {"descEdit", "Misc"}}));
        QCOMPARE(f.messages.texts(),
                 QStringList({"Please enter an integer between 10 and 999.", "Please enter a unique ExpType."}));
        QCOMPARE(f.messages.shown().back().caption, QString("Invalid Entry"));

        f.messages.clear();
        t->setCurrentItem(typeItem(t, 12));
        QVERIFY(!saveIn<CExpCatDlg>([&] { click(&dialog, "categoryButton"); }, {{"categoryEdit", "fuel"}, {"descEdit", "Again"}}));
        QVERIFY(saveIn<CExpCatDlg>([&] { click(&dialog, "categoryButton"); }, {{"categoryEdit", "lodge"}, {"descEdit", "Hotel"}}));
        QCOMPARE(f.messages.texts(), QStringList({"Please enter a unique value for Category name."}));
        QCOMPARE(f.db.count("lkpExpCategories", "ExpType = 12 AND ExpCat = 'LODGE'"), 1);  // typed in upper case
        QCOMPARE(tree(t).mid(4, 4), QStringList({"12 TRVL", "  FUEL", "  LODGE", "  MEALS"}));
        QCOMPARE(t->currentItem()->data(0, CCategoriesDlg::CodeRole).toString(), QString("LODGE"));
        QCOMPARE(f.version(), std::string("6/0"));
    }

    void eachNewTypeIsOfferedTheNextFreeNumber()
    {
        Fixture f;
        CAdoRecordset types(&f.connection);
        QVERIFY(types.OpenTable("lkpExpTypes"));
        CCategoriesDlg dialog(types);
        QStringList presets;
        const auto lookAtPreset = [&](CExpTypeDlg* d) { presets << child<QLineEdit>(d, "typeEdit")->text(); };
        QVERIFY(saveIn<CExpTypeDlg>([&] { click(&dialog, "groupButton"); }, {{"labelEdit", "GIFT"}, {"descEdit", "Gifts"}},
                                    lookAtPreset));
        QVERIFY(saveIn<CExpTypeDlg>([&] { click(&dialog, "groupButton"); }, {{"labelEdit", "DUES"}, {"descEdit", "Dues"}},
                                    lookAtPreset));
        QCOMPARE(presets, QStringList({"21", "22"}));
        QCOMPARE(f.db.scalar("SELECT group_concat(ExpType || ExpLabel, ',') FROM lkpExpTypes WHERE ExpType > 20"),
                 std::string("21GIFT,22DUES"));
        QVERIFY(f.messages.shown().empty());
    }

    void aRenumberedTypeKeepsItsCategoriesAndExpenses()
    {
        Fixture f;
        CAdoRecordset types(&f.connection);
        QVERIFY(types.OpenTable("lkpExpTypes"));
        CCategoriesDlg dialog(types);
        QTreeWidget* t = dialog.Tree();
        QVERIFY(saveIn<CExpTypeDlg>([&] { emit t->itemDoubleClicked(typeItem(t, 12), 0); }, {{"typeEdit", "30"}}));
        QCOMPARE(tree(t).mid(4), QStringList({"20 OFFC", "  SUPPLIES", "30 TRVL", "  FUEL", "  MEALS"}));
        QCOMPARE(f.db.count("lkpExpCategories", "ExpType = 30"), 2);
        QCOMPARE(f.db.count("Expenses", "ExpType = 30"), 2);
        QCOMPARE(f.db.count("Expenses", "ExpType = 12") + f.db.count("lkpExpCategories", "ExpType = 12"), 0);

        // When moving the expenses is refused, the type keeps its number and everything stays.
        f.db.exec("CREATE TRIGGER refuse BEFORE UPDATE ON Expenses BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        QVERIFY(!saveIn<CExpTypeDlg>([&] { emit t->itemDoubleClicked(typeItem(t, 30), 0); }, {{"typeEdit", "40"}}));
        QVERIFY(f.messages.texts().value(0).startsWith("The expense type could not be saved.\n"));
        QCOMPARE(f.db.scalar("SELECT group_concat(ExpType) FROM lkpExpTypes WHERE ExpLabel = 'TRVL'"), std::string("30"));
        QCOMPARE(f.db.count("lkpExpCategories", "ExpType = 30"), 2);
        QCOMPARE(tree(t).mid(6), QStringList({"30 TRVL", "  FUEL", "  MEALS"}));
    }

    void deletingATypeRemovesItsCategoriesOnlyAfterYes()
    {
        Fixture f;
        CAdoRecordset types(&f.connection);
        QVERIFY(types.OpenTable("lkpExpTypes"));
        CCategoriesDlg dialog(types);
        QTreeWidget* t = dialog.Tree();
        t->setCurrentItem(typeItem(t, 12));
        f.messages.queueAnswer(Answer::No);
        click(&dialog, "deleteButton");
        QCOMPARE(f.messages.texts(), QStringList({"Do you wish to delete the selected\nExpense Type and all its Categories?"}));
        QCOMPARE(f.db.count("lkpExpTypes", "ExpType = 12"), 1);
        f.messages.queueAnswer(Answer::Yes);
        click(&dialog, "deleteButton");
        QCOMPARE(f.db.count("lkpExpTypes", "ExpType = 12") + f.db.count("lkpExpCategories", "ExpType = 12"), 0);
        QCOMPARE(f.db.count("lkpExpTypes"), 3);
        QCOMPARE(f.db.count("lkpExpCategories"), 3);
        QCOMPARE(tree(t).size(), 6);

        t->setCurrentItem(typeItem(t, 20)->child(0));
        QCOMPARE(saveIn<CExpCatDlg>([&] { click(&dialog, "categoryButton"); }, {{"categoryEdit", "INK"}, {"descEdit", "Ink"}}), true);
        t->setCurrentItem(typeItem(t, 20)->child(0));
        QVERIFY(child<QPushButton>(&dialog, "deleteButton")->isEnabled());
        click(&dialog, "deleteButton");
        QCOMPARE(f.db.scalar("SELECT group_concat(ExpCat) FROM lkpExpCategories WHERE ExpType = 20"), std::string("SUPPLIES"));
        QCOMPARE(t->currentItem(), typeItem(t, 20));
        QCOMPARE(f.version(), std::string("6/0"));
    }

    void aTableThatCannotBeReadGivesAnEmptyEditorAndSaysWhy()
    {
        Fixture f;
        f.db.exec("DROP TABLE lkpAccounts; DROP TABLE Projects; DROP TABLE lkpExpCategories");
        CAdoRecordset projects(&f.connection), types(&f.connection);
        CAccountsDlg accounts(f.connection);
        CProjectsDlg projectList(projects);
        CCategoriesDlg categories(types);
        click(&accounts, "newButton");  // reads again, and says so again
        QCOMPARE(accounts.List()->rowCount() + projectList.List()->rowCount() + categories.Tree()->topLevelItemCount(), 0);
        const QStringList texts = f.messages.texts();
        QCOMPARE(texts.size(), 4);
        QVERIFY(texts[0].startsWith("The accounts could not be read.\n") && texts[3] == texts[0]);
        QVERIFY(texts[1].startsWith("The projects could not be read.\n"));
        QVERIFY(texts[2].startsWith("The expense types and categories could not be read.\n"));
    }

    void aHotSyncWhileAnEditorIsOpenMakesItReadItsTablesAgain()
    {
        // The sync closes the database, changes it and opens it again; the editor's next command
        // reads the tables again instead of acting on closed record sets.
        Fixture f;
        CAdoRecordset projects(&f.connection), types(&f.connection);
        QVERIFY(projects.OpenTable("Projects") && types.OpenTable("lkpExpTypes"));
        CAccountsDlg accounts(f.connection);
        CProjectsDlg projectList(projects);
        CCategoriesDlg categories(types);
        accounts.List()->selectRow(0);
        projectList.List()->selectRow(0);
        categories.Tree()->setCurrentItem(typeItem(categories.Tree(), 12));
        f.connection.Close();
        f.db.exec("INSERT INTO lkpAccounts (AcctCode, AcctDesc) VALUES ('AAA', 'First')");
        f.db.exec("INSERT INTO Projects (ProjectID, ProjectName, ProjectDesc) VALUES (0, 'Zero', 'First')");
        f.db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES (11, 'NEW', 'New', 1)");
        QVERIFY(f.connection.Open(f.db.path()));

        click(&accounts, "deleteButton");
        QCOMPARE(rows(accounts.List()).first(), QString("AAA|First"));
        click(&projectList, "deleteButton");
        QCOMPARE(rows(projectList.List()).first(), QString("0|Zero|First"));
        click(&categories, "deleteButton");
        QVERIFY(tree(categories.Tree()).contains("11 NEW"));
        QVERIFY(f.messages.texts().isEmpty());
        QCOMPARE(f.db.count("lkpAccounts") + f.db.count("Projects") + f.db.count("lkpExpTypes"), 3 + 4 + 5);
    }
};

QTEST_MAIN(LookupEditorsTest)
#include "LookupEditorsTest.moc"
