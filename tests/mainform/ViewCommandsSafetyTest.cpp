// The view commands when something else happens: a HotSync closing and re-opening the database
// under an open dialog, another program deleting a row, the database refusing a write; and the
// commands that leave the tree alone: the lookup editors, Export and Create Backup.
#include "tests/mainform/ViewCommandsFixture.h"

class ViewCommandsSafetyTest : public QObject {
    Q_OBJECT
private slots:
    void anEntryDialogOpenDuringASyncStoresIntoTheReopenedDatabase()
    {
        // Save is pressed once while the sync has the database closed (refused: the dialog stays
        // open with what was typed) and once after the sync re-opened it (stored there).
        const QString inSync = CQuillmarDoc::kClosedForHotSync;
        for (const bool edit : {false, true}) {
            Fixture f;
            bool openAfterRefusal = false;
            const auto saveAcrossASync = [&](QDialog* dialog) {
                dialog->findChild<QLineEdit*>("amountEdit")->setText("50.00");
                openAfterRefusal = pressAcrossASync(f, dialog, "saveButton");
            };
            if (edit) {
                f.view->SelectItem(f.find("12/24 SU"));
                whenModal<CExpEditDlg>(saveAcrossASync);
                f.view->OnDoubleClick(f.view->SelectedItem());
                QCOMPARE(f.db.scalar("SELECT Amount FROM Expenses WHERE Item='Lunch'"), std::string("500000"));
            } else {
                whenModal<CExpenseDlg>([&](CExpenseDlg* dialog) {
                    fillExpense(dialog, "TRVL", "Acme", "FUEL", QDate(2004, 12, 26), "1.00");
                    saveAcrossASync(dialog);
                });
                f.view->OnAddNew();
                QCOMPARE(f.db.scalar("SELECT Amount || ' ' || date(ExpDate) FROM Expenses WHERE Item='New item'"),
                         std::string("500000 2004-12-26"));
            }
            QVERIFY(openAfterRefusal);
            QCOMPARE(f.messages.texts(), QStringList({"The expense could not be saved.\n" + inSync}));
            QCOMPARE(f.db.count("Expenses"), edit ? 12 : 13);
            // The reload that arrived meanwhile ran once the command was done.
            QVERIFY(f.find("Tax YR: 2006 ="));
            EXPECT_TREE_AS_REBUILT(f);
        }
    }

    void dialogsWaitOutASyncAndActOnTheReopenedDatabase()
    {
        // OK is pressed while the sync has the database closed (refused with the reason, the
        // dialog stays open with the user's choice) and again once the sync re-opened it.
        const QString inSync = CQuillmarDoc::kClosedForHotSync;
        struct Case {
            const char* what;
            std::function<void(Fixture&)> start;        // runs the command
            std::function<void(QDialog*)> choose;       // the user's choice in its dialog
            const char* okButton;
            QString refusal;                            // its first line
            std::function<void(Fixture&)> check;        // what the second OK did
        };
        const Case cases[] = {
            {"Update Status",
             [](Fixture& f) {
                 f.view->SelectItem(f.find("Acme"));
                 f.view->OnDoubleClick(f.view->SelectedItem());
             },
             [](QDialog* d) {
                 selectCode(d->findChild<CCodeDescCombo*>("fromCombo"), "IN");
                 selectCode(d->findChild<CCodeDescCombo*>("toCombo"), "PD");
             },
             "okButton", "The status could not be changed.",
             [](Fixture& f) { QCOMPARE(f.db.count("Expenses", "ProjectID=7 AND Status=3"), 1); }},
            {"Create Backup", [](Fixture& f) { f.view->OnFileBackup(f.db.path()); },
             [](QDialog* d) { d->findChild<QLineEdit*>("nameEdit")->setText("copy.mdb"); }, "okButton",
             "The backup could not be written.",
             [](Fixture& f) {
                 QCOMPARE(TestDatabase::scalarAt(f.db.dir().file("copy.mdb"), "SELECT count(*) FROM Expenses"), std::string("12"));
             }},
            {"Report Options",
             [](Fixture& f) {
                 f.db.exec("UPDATE Expenses SET ExpYear = CAST(strftime('%Y', ExpDate) AS INTEGER) WHERE ExpDate IS NOT NULL");
                 f.view->OnFileReports();
             },
             [](QDialog*) {
                 // The preview that follows the second OK.
                 whenModal<QPrintPreviewDialog>([](QPrintPreviewDialog* preview) { preview->reject(); });
             },
             "previewButton", "The report could not be made.",
             [](Fixture& f) { QCOMPARE(f.view->Reports().m_nYear, std::int16_t(2004)); }},
        };
        for (const Case& c : cases) {
            Fixture f;
            bool openAfterRefusal = false;
            whenModal<QDialog>([&](QDialog* dialog) {
                c.choose(dialog);
                openAfterRefusal = pressAcrossASync(f, dialog, c.okButton);
            });
            c.start(f);
            QVERIFY2(openAfterRefusal, c.what);
            QVERIFY2(f.messages.texts() == QStringList({c.refusal + "\n" + inSync}),
                     qPrintable(QString(c.what) + ": " + f.messages.texts().join(" // ")));
            c.check(f);
            QVERIFY2(f.find("Tax YR: 2006 ="), c.what);
            EXPECT_TREE_AS_REBUILT(f);
        }
    }

    void deletingARowAnotherProgramDeletedKeepsTheTreeWhole()
    {
        Fixture f;
        f.db.exec("DELETE FROM Expenses WHERE Item='Dinner'");
        f.view->SelectItem(f.find("01/06 NA"));
        f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
        f.view->OnDelete();
        EXPECT_TREE_AS_REBUILT(f);
    }

    void aRefusedDeleteLeavesTheTreeAsItWasAndSaysWhy()
    {
        // The database refuses one row (a rule of another program); whatever is selected, the
        // rows before it go, that row and its line stay, and the sums are those of what is stored.
        const struct {
            const char* select;
            int mode;
            long long rowsLeft;
        } cases[] = {{"12/24 SU", 0, 11}, {"MEALS    =", 1, 11}, {"Acme", 0, 10}, {"Acme", 1, 11}};
        for (const auto& c : cases) {
            Fixture f(c.mode);
            f.db.exec("CREATE TRIGGER keep BEFORE DELETE ON Expenses WHEN OLD.Item = 'Lunch' "
                      "BEGIN SELECT RAISE(ABORT, 'kept by the auditor'); END");
            const QStringList before = dump(*f.view);
            f.view->SelectItem(f.find(c.select));
            f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
            f.view->OnDelete();
            QCOMPARE(f.db.count("Expenses"), c.rowsLeft);
            QCOMPARE(f.messages.shown().size(), std::size_t(2));
            QCOMPARE(f.messages.texts().last(), QString("The expense could not be deleted.\nkept by the auditor"));
            QCOMPARE(f.messages.shown().back().icon, ui::MessageBox::Icon::Stop);
            QVERIFY(f.find("12/24 SU"));
            if (c.rowsLeft == 11)
                QCOMPARE(dump(*f.view), before);
            EXPECT_TREE_AS_REBUILT(f);
        }
    }

    void aRefusedRestateStopsAndTheSumsFollowWhatIsStored()
    {
        Fixture f;
        f.db.exec("UPDATE Expenses SET Status=1 WHERE Item='Lunch'");  // Acme: Gas IN, Lunch IN
        f.db.exec("CREATE TRIGGER frozen BEFORE UPDATE OF Status ON Expenses WHEN OLD.Item = 'Lunch' "
                  "BEGIN SELECT RAISE(ABORT, 'the invoice is closed'); END");
        f.view->RefreshTree();
        f.view->SelectItem(f.find("Acme"));
        restateFromTo("IN", "SU");
        f.view->OnDoubleClick(f.view->SelectedItem());
        QCOMPARE(f.messages.texts(), QStringList({"The status could not be changed.\nthe invoice is closed"}));
        QCOMPARE(f.db.scalar("SELECT group_concat(Item || Status, ',') FROM Expenses WHERE ProjectID=7 ORDER BY ExpID"),
                 std::string("Gas1,Lunch1,Gas0"));  // the lines run by date: Lunch came first and stopped it
        EXPECT_TREE_AS_REBUILT(f);
    }

    void aRefusedNewExpenseIsReportedAndLeavesNothing()
    {
        Fixture f;
        f.db.exec("CREATE TRIGGER closed BEFORE INSERT ON Expenses BEGIN SELECT RAISE(ABORT, 'the books are closed'); END");
        const QStringList before = dump(*f.view);
        enterExpense("TRVL", "Acme", "FUEL", QDate(2006, 1, 2), "10.00");
        f.view->OnAddNew();
        QCOMPARE(f.messages.texts(), QStringList({"The expense could not be saved.\nthe books are closed"}));
        QCOMPARE(f.db.count("Expenses"), 11);
        QCOMPARE(dump(*f.view), before);
    }

    void theConfigureEditorsLeaveTheTreeShowingWhatIsStored()
    {
        Fixture f;
        const std::int64_t office = f.db.count("Expenses", "ExpType = 20");
        whenModal<CProjectsDlg>([](CProjectsDlg* projects) {
            whenModal<CNewProjDlg>([](CNewProjDlg* detail) {
                child<QLineEdit>(detail, "nameEdit")->setText("Apex");
                child<QLineEdit>(detail, "descEdit")->setText("Apex audit");  // required
                child<QPushButton>(detail, "saveButton")->click();
            });
            emit projects->List()->EditRequested(0);  // 7, Acme
            projects->accept();
        });
        f.view->OnConfigProjects();
        QVERIFY(f.find("Apex") && !f.find("Acme"));

        whenModal<CCategoriesDlg>([](CCategoriesDlg* editor) {
            whenModal<CExpTypeDlg>([](CExpTypeDlg* type) {
                child<QLineEdit>(type, "typeEdit")->setText("25");
                child<QPushButton>(type, "saveButton")->click();
            });
            QTreeWidget* types = editor->Tree();
            for (int i = 0; i < types->topLevelItemCount(); ++i)
                if (types->topLevelItem(i)->data(0, CCategoriesDlg::CodeRole).toInt() == 20)
                    emit types->itemDoubleClicked(types->topLevelItem(i), 0);
            editor->reject();  // the close box
        });
        f.view->OnConfigCategories();
        QCOMPARE(f.db.count("Expenses", "ExpType = 25"), office);
        QCOMPARE(f.db.count("Expenses", "ExpType = 20"), 0);
        EXPECT_TREE_AS_REBUILT(f);
        QVERIFY(f.messages.texts().isEmpty());
    }

    void exportWritesTheTreesOrderOrSaysWhyNot()
    {
        Fixture f(1);  // sorted by category
        FileDialogScript files;
        const std::string path = f.db.dir().file("expenses.csv");
        files.choose(path);
        f.view->OnFileExport();
        const ui::FileDialog::Request& asked = files.requests().front();
        QCOMPARE(asked.initialName, QString("expenses.csv"));
        QCOMPARE(asked.filter, QString("Text Files (*.csv; *.txt)|*.csv;*.txt|All Files (*.*)|*.*||"));
        QVERIFY(asked.save && asked.confirmOverwrite);

        // The same file as an export of the rows read afresh in the category order.
        CAdoRecordset expenses(&f.connection), types(&f.connection), projects(&f.connection), statuses(&f.connection);
        expenses.m_strSort = schema::expenses::kSortByCategory;
        QVERIFY(expenses.OpenTable("Expenses") && types.OpenTable("lkpExpTypes") && projects.OpenTable("Projects") &&
                statuses.OpenTable("lkpExpBillStatus"));
        std::string error;
        QVERIFY(CsvExport(types, projects, statuses).Write(expenses, f.db.dir().file("expected.csv"), error));
        const auto read = [](const std::string& file) {
            QFile in(QString::fromStdString(file));
            return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
        };
        QCOMPARE(read(path), read(f.db.dir().file("expected.csv")));
        QCOMPARE(read(path).count("\r\n"), qsizetype(f.db.count("Expenses")));
        QCOMPARE(f.statusTexts, QStringList({"Exported 11 expenses to " + QString::fromStdString(path) + "."}));

        files.choose(f.db.dir().file("missing/expenses.csv"));
        f.view->OnFileExport();
        QCOMPARE(f.messages.texts().size(), 1);
        QVERIFY(f.messages.texts().first().startsWith("Unable to create export file\n"));
        QCOMPARE(f.statusTexts.size(), 1);  // a failure is not reported as done
    }

    void backupMakesADatedCopyAndTheTreeStaysTheSame()
    {
        Fixture f;
        const QStringList before = dump(*f.view);
        const std::string copy = f.db.dir().file("copy.mdb");
        const auto backUp = [&](const std::function<void(CBackupDlg*)>& steps) {
            whenModal<CBackupDlg>([&](CBackupDlg* dialog) {
                steps(dialog);
                if (dialog->isVisible())
                    dialog->reject();
            });
            f.view->OnFileBackup(f.db.path());
        };
        const auto enter = [](CBackupDlg* dialog, const char* name) {
            child<QLineEdit>(dialog, "nameEdit")->setText(name);
            child<QPushButton>(dialog, "okButton")->click();
        };
        backUp([&](CBackupDlg* dialog) {
            QCOMPARE(child<QLineEdit>(dialog, "nameEdit")->text().toStdString(), DatabaseBackup(f.db.path()).ProposedName());
            enter(dialog, "expenses.mdb");  // the database itself
            QVERIFY(dialog->isVisible());
            enter(dialog, "copy.mdb");
        });
        QCOMPARE(f.messages.texts(), QStringList({"Cannot over-write current Expense database."}));
        QCOMPARE(f.messages.shown().front().caption, QString("Invalid target filename"));
        QCOMPARE(TestDatabase::scalarAt(copy, "SELECT count(*) FROM Expenses"), f.db.scalar("SELECT count(*) FROM Expenses"));
        QCOMPARE(dump(*f.view), before);
        QCOMPARE(f.statusTexts, QStringList({"Backup written to " + QString::fromStdString(copy) + "."}));

        // Enter takes the proposed name.
        backUp([](CBackupDlg* dialog) { QTest::keyClick(child<QLineEdit>(dialog, "nameEdit"), Qt::Key_Return); });
        const std::string proposed = f.db.dir().file(DatabaseBackup(f.db.path()).ProposedName());
        QCOMPARE(TestDatabase::scalarAt(proposed, "SELECT count(*) FROM Expenses"), f.db.scalar("SELECT count(*) FROM Expenses"));
        QCOMPARE(f.statusTexts.last(), "Backup written to " + QString::fromStdString(proposed) + ".");

        f.messages.clear();
        f.db.exec("DELETE FROM Expenses WHERE Item = 'Lunch'");
        backUp([&](CBackupDlg* dialog) {
            f.messages.queueAnswer(ui::MessageBox::Answer::No);
            enter(dialog, "copy.mdb");
            QVERIFY(dialog->isVisible());
            f.messages.queueAnswer(ui::MessageBox::Answer::Yes);
            enter(dialog, "copy.mdb");
        });
        QCOMPARE(f.messages.texts(), QStringList(2, "copy.mdb already exists.\nDo you want to replace it?"));
        QCOMPARE(TestDatabase::scalarAt(copy, "SELECT count(*) FROM Expenses WHERE Item = 'Lunch'"), std::string("0"));
        EXPECT_TREE_AS_REBUILT(f);

        f.messages.clear();
        const qsizetype said = f.statusTexts.size();
        backUp([&](CBackupDlg* dialog) { enter(dialog, "no/such/folder/copy.mdb"); });
        QCOMPARE(f.messages.texts().size(), 1);
        QVERIFY(f.messages.texts().first().startsWith("The backup could not be written to "));
        QVERIFY(f.connection.IsOpen());
        QCOMPARE(f.statusTexts.size(), said);

        CBackupDlg none(f.connection, "");
        QVERIFY(!child<QPushButton>(&none, "okButton")->isEnabled() && !child<QPushButton>(&none, "browseButton")->isEnabled());
    }
};

QTEST_MAIN(ViewCommandsSafetyTest)
#include "ViewCommandsSafetyTest.moc"
