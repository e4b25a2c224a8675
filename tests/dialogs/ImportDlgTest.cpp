// "Import Expenses" as a user meets it: Quillmar's own CSV previewed with its duplicate unticked,
// a bank's CSV that needs its columns chosen (and remembers them for the next file of that bank),
// a file that cannot be read named by its line, and File > Import... storing the ticked rows.
#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "dbaccess/CADODataBase.h"
#include "dialogs/CImportDlg.h"
#include "mainform/CQuillmarView.h"
#include "shell/CMainFrame.h"
#include "shell/CQuillmarApp.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/OfxSample.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TestDatabase.h"

namespace {

const std::string kOwn = "2025/01/02,TAX,GENERAL,\"Stamps\",1.00,,,,Post Office,CASH,,\"\"\r\n"
                         "2025/01/03,TAX,GENERAL,\"Paper\",2.50,,,,Shop,CASH,,\"\"\r\n";
const std::string kBank = "Datum;Text;Betrag\n04.03.2025;Coffee;-4,50\n05.03.2025;Salary;1.200,00\n";

void ChooseBankColumns(CImportDlg& dialog)
{
    dialog.Column("date")->setCurrentIndex(1);
    dialog.Column("description")->setCurrentIndex(2);
    dialog.Column("amount")->setCurrentIndex(3);
    dialog.DateFormat()->setCurrentText("DD.MM.YYYY");
}

}  // namespace

class ImportDlgTest : public QObject {
    Q_OBJECT
private slots:
    void ownCsvIsPreviewedWithItsDuplicateUnticked()
    {
        IsolatedProfile profile;
        TestDatabase db;
        db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Vendor, Amount, ProjectID, TypeComp) VALUES "
                "(0, 'GENERAL', '2025-01-03 00:00:00', 2025, 'Paper', 'Shop', 25000, 2025, 0)");
        CADODataBase connection;
        QVERIFY(connection.Open(db.path()));
        CImportDlg dialog(connection, kOwn, "own.csv");
        QCOMPARE(dialog.windowTitle(), QString("Import Expenses"));
        QVERIFY(dialog.BankChoices()->isHidden());
        QCOMPARE(dialog.Table()->rowCount(), 2);
        QCOMPARE(dialog.Table()->item(1, 0)->checkState(), Qt::Unchecked);
        QVERIFY(dialog.Table()->item(1, 4)->foreground() != dialog.Table()->item(0, 4)->foreground());  // the duplicate is greyed
        QCOMPARE(dialog.Table()->item(0, 2)->text(), QString("TAX"));
        QCOMPARE(dialog.CountLine()->text(), QString("1 expenses, total 1.00; 1 look like expenses already in the database"));
        dialog.Table()->item(1, 0)->setCheckState(Qt::Checked);
        QCOMPARE(dialog.CountLine()->text(), QString("2 expenses, total 3.50; 1 look like expenses already in the database"));
        QVERIFY(dialog.ImportButton()->isEnabled());
        dialog.Table()->item(0, 2)->setText("EST");  // filed under another type in the preview
        QCOMPARE(dialog.Rows()[0].expense.m_nExpType, std::int16_t(1));
        QCOMPARE(dialog.Table()->item(0, 3)->text(), QString("FEDERAL"));  // its first category
        QCOMPARE(dialog.Rows()[0].expense.m_strExpCat, std::string("FEDERAL"));
        QCOMPARE(dialog.Rows()[1].expense.m_nExpType, std::int16_t(0));
    }

    void bankCsvNeedsItsColumnsAndRemembersThem()
    {
        IsolatedProfile profile;
        TestDatabase db;
        CADODataBase connection;
        QVERIFY(connection.Open(db.path()));
        {
            CImportDlg unnamed(connection, "A;B;C\n04.03.2025;Coffee;-4,50\n", "plain.csv");
            QVERIFY(!unnamed.BankChoices()->isHidden());
            QVERIFY(!unnamed.ImportButton()->isEnabled());
            QVERIFY(unnamed.Problem()->text().contains("the date, amount and description columns must be chosen"));
            ChooseBankColumns(unnamed);
            QCOMPARE(unnamed.Table()->rowCount(), 1);

            CImportDlg dialog(connection, kBank, "bank.csv");  // its columns named as banks name them
            QCOMPARE(dialog.Column("date")->currentIndex(), 1);
            QCOMPARE(dialog.Column("description")->currentIndex(), 2);
            QCOMPARE(dialog.Column("amount")->currentIndex(), 3);
            QCOMPARE(dialog.DateFormat()->currentText(), QString("DD.MM.YYYY"));
            QCOMPARE(dialog.Table()->rowCount(), 1);
            QCOMPARE(dialog.Table()->item(0, 5)->text(), QString("4.50"));
            QCOMPARE(dialog.CountLine()->text(),
                     QString("1 expenses, total 4.50; 0 look like expenses already in the database; 1 credit left out"));
            dialog.DebitsNegative()->setChecked(false);  // now the salary is the payment
            QCOMPARE(dialog.Table()->item(0, 5)->text(), QString("1200.00"));
            dialog.DebitsNegative()->setChecked(true);
            unnamed.ImportButton()->click();  // remembered for the next file with the header A;B;C
        }
        CImportDlg again(connection, "A;B;C\n06.03.2025;Tea;-2,00\n07.03.2025;Cake;-3,00\n", "plain-april.csv");  // the same header
        QCOMPARE(again.Table()->rowCount(), 2);
        QVERIFY(again.ImportButton()->isEnabled());
    }

    void aRowCanBeChargedToAnotherProject()
    {
        IsolatedProfile profile;
        TestDatabase db;
        db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES (10, 'TRVL', 'Travel', 2)");
        db.exec("INSERT INTO lkpExpCategories (ExpType, ExpCat) VALUES (10, 'TAXI')");
        db.exec("INSERT INTO Projects (ProjectID, ProjectName) VALUES (42, 'Acme'), (43, 'Birch')");
        CADODataBase connection;
        QVERIFY(connection.Open(db.path()));
        CImportDlg dialog(connection, kBank, "bank.csv");
        dialog.FiledType()->setCurrentText("TRVL");
        QCOMPARE(dialog.Table()->rowCount(), 1);
        QCOMPARE(dialog.Table()->item(0, 9)->text(), QString("Acme"));
        dialog.Table()->item(0, 9)->setText("Birch");
        QCOMPARE(dialog.Rows()[0].expense.m_lProjectID, 43);
        QCOMPARE(dialog.Rows()[0].expense.m_strExpCat, std::string("TAXI"));
        long stored = 0;
        std::string error;
        QVERIFY(dialog.Import().Store(dialog.Rows(), stored, error));
        QCOMPARE(db.scalar("SELECT ProjectID || ' ' || TypeComp FROM Expenses"), std::string("43 2"));
    }

    void anOfxStatementNeedsOnlyWhatToFileItUnder()
    {
        IsolatedProfile profile;
        TestDatabase db;
        const std::string path = db.dir().file("march.ofx");
        const std::string statement =
            OfxStatement("<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20250304120000<TRNAMT>-4.50<FITID>1<NAME>Coffee</STMTTRN>"
                         "<STMTTRN><TRNTYPE>CREDIT<DTPOSTED>20250305120000<TRNAMT>10.00<FITID>2<NAME>Refund</STMTTRN>");
        writeFile(path, statement);
        CADODataBase connection;
        QVERIFY(connection.Open(db.path()));
        CImportDlg dialog(connection, statement, path);
        QVERIFY(!dialog.BankChoices()->isHidden());
        QVERIFY(dialog.Column("date")->isHidden() || !dialog.Column("date")->isVisibleTo(&dialog));
        QVERIFY2(dialog.Problem()->text().isEmpty(), qPrintable(dialog.Problem()->text()));
        QCOMPARE(dialog.Table()->rowCount(), 1);
        QCOMPARE(dialog.Table()->item(0, 6)->text(), QString("Coffee"));
        QVERIFY(dialog.CountLine()->text().endsWith("; 1 credit left out"));
        QVERIFY(dialog.ImportButton()->isEnabled());
    }

    void aFileThatCannotBeReadIsNamedByItsLine()
    {
        IsolatedProfile profile;
        TestDatabase db;
        CADODataBase connection;
        QVERIFY(connection.Open(db.path()));
        CImportDlg dialog(connection, kOwn + "2025/01/04,TAX,GENERAL,\"Open,1.00\r\n", "bad.csv");
        QVERIFY2(dialog.Problem()->text().contains("line 3: a quoted field is not closed"), qPrintable(dialog.Problem()->text()));
        QVERIFY(!dialog.ImportButton()->isEnabled());
    }

    void fileImportStoresTheTickedRows()
    {
        IsolatedProfile profile;
        FileDialogScript dialogs;
        TestDatabase db;
        writeFile(db.dir().file("own.csv"), kOwn);
        dialogs.cancel();  // no open dialog at start
        CQuillmarApp app;
        QVERIFY(app.InitInstance({"Quillmar", db.path()}));
        CMainFrame& frame = app.MainFrame();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);  // the menu follows the open database
        QString status;
        connect(&frame.View(), &CQuillmarView::StatusMessage, this, [&status](const QString& text) { status = text; });
        const std::size_t asked = dialogs.requests().size();
        dialogs.choose(db.dir().file("own.csv"));
        QVERIFY(frame.Action(CMainFrame::ID_FILE_IMPORT)->isEnabled());
        whenModal<CImportDlg>([](CImportDlg* dialog) { dialog->ImportButton()->click(); });
        frame.Action(CMainFrame::ID_FILE_IMPORT)->trigger();
        QCOMPARE(dialogs.requests().size(), asked + 1);
        QCOMPARE(db.count("Expenses"), 2);
        QCOMPARE(status, "Imported 2 expenses from " + QString::fromStdString(db.dir().file("own.csv")) + ".");
        QCOMPARE(frame.View().Tree().LineCount(), std::size_t(2));
    }
};

QTEST_MAIN(ImportDlgTest)
#include "ImportDlgTest.moc"
