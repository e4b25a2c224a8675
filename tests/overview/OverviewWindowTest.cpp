// The Overview window in the running program: its tables show the database's sums, a cell
// selects its group in the tree and a double click opens Update Status for a project, the
// exports write valid files, it follows commands and HotSync re-opens and closes with the
// database, an empty database says so, and many types share "Other" in the chart.
#include <QtTest>

#include <QBarSet>
#include <QChartView>
#include <QImage>
#include <QLabel>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTableWidget>

#include "dialogs/CStatusDlg.h"
#include "mainform/CQuillmarView.h"
#include "overview/OverviewWindow.h"
#include "platform/ipc/DesktopChannel.h"
#include "shell/CMainFrame.h"
#include "shell/CQuillmarApp.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TestDatabase.h"

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void AddExpense(const TestDatabase& db, int type, const char* date, int cents, int status = 0, int project = 0)
{
    const bool reimbursable = type >= 10;
    db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Amount, Reimburse, Status, ProjectID, TypeComp) VALUES (" +
            std::to_string(type) + ", 'GENERAL', '" + date + " 00:00:00', " + std::string(date, 4) + ", " + std::to_string(cents * 100) +
            ", " + (status ? "1" : "0") + ", " + std::to_string(status) + ", " +
            std::to_string(reimbursable ? project : std::stoi(std::string(date, 4))) + ", " + (reimbursable ? "2" : "0") + ")");
}

QString Cell(QTableWidget* table, int row, int column) { return table->item(row, column)->text(); }

// The program on a database with tax expenses in two years and one project with IN and SU.
struct Program {
    IsolatedProfile profile;
    FileDialogScript dialogs;
    MessageLog messages;
    TestDatabase db;
    CQuillmarApp app;
    OverviewWindow* overview = nullptr;

    explicit Program(bool withExpenses = true)
    {
        db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES (10, 'TRVL', 'Travel', 2)");
        db.exec("INSERT INTO Projects (ProjectID, ProjectName) VALUES (42, 'Acme')");
        if (withExpenses) {
            AddExpense(db, 0, "2024-03-01", 1000);
            AddExpense(db, 0, "2025-04-01", 250);
            AddExpense(db, 10, "2025-02-01", 12345, 1, 42);
            AddExpense(db, 10, "2025-03-01", 100, 2, 42);
        }
        dialogs.cancel();
        if (!app.InitInstance({"Quillmar", db.path()}))
            return;
        app.MainFrame().OnViewOverview();
        overview = app.MainFrame().Overview();
        settle();
    }
};

}  // namespace

class OverviewWindowTest : public QObject {
    Q_OBJECT
private slots:
    void tablesShowTheSumsAndLeadIntoTheTree()
    {
        Program p;
        QVERIFY(p.overview && p.overview->isVisible());
        QCOMPARE(p.overview->windowTitle(), QString("Overview"));
        QTableWidget* years = p.overview->YearTable();
        QCOMPARE(years->rowCount(), 3);  // 2024, 2025, Total
        QCOMPARE(Cell(years, 1, 0), QString("2025"));
        QCOMPARE(Cell(years, 1, 1), QString("2.50"));     // TAX
        QCOMPARE(Cell(years, 1, 2), QString("124.45"));   // TRVL
        QCOMPARE(Cell(years, 2, 3), QString("136.95"));   // the grand total
        QTableWidget* owed = p.overview->OwedTable();
        QCOMPARE(owed->rowCount(), 0);  // read when its page is shown
        p.overview->Pages()->setCurrentIndex(1);
        QCOMPARE(owed->rowCount(), 2);
        QCOMPARE(Cell(owed, 0, 0), QString("Acme"));
        QCOMPARE(Cell(owed, 0, 2), QString("123.45"));
        QCOMPARE(Cell(owed, 0, 3), QString("1.00"));

        CQuillmarView& view = p.app.MainFrame().View();
        emit years->cellClicked(1, 1);
        QVERIFY(view.SelectedItem());
        QVERIFY(view.Model().Text(view.SelectedItem()).rfind("Tax YR: 2025", 0) == 0);
        emit years->cellClicked(2, 1);  // the Total row names no group
        QVERIFY(view.Model().Text(view.SelectedItem()).rfind("Tax YR: 2025", 0) == 0);
        const auto* series = qobject_cast<QStackedBarSeries*>(p.overview->Chart()->chart()->series().value(0));
        QVERIFY(series);
        for (QBarSet* set : series->barSets())
            if (set->label() == "TAX")
                emit set->clicked(0);  // the 2024 segment
        QVERIFY(view.Model().Text(view.SelectedItem()).rfind("Tax YR: 2024", 0) == 0);

        QString title;
        whenModal<CStatusDlg>([&title](CStatusDlg* dialog) {
            title = dialog->windowTitle();
            dialog->reject();
        });
        emit owed->cellDoubleClicked(0, 0);
        QCOMPARE(title, QString("Update Status"));
        QVERIFY(view.Model().Text(view.SelectedItem()).rfind("Acme", 0) == 0);
    }

    void followsCommandsHotSyncAndTheDatabase()
    {
        Program p;
        QVERIFY(p.overview);
        CQuillmarView& view = p.app.MainFrame().View();
        AddExpense(p.db, 0, "2023-01-01", 500);  // as a HotSync stores it
        p.app.Document().OnDatabaseRequest(ipc::kCloseDatabase);
        p.app.Document().OnDatabaseRequest(ipc::kReopenDatabase);
        settle();
        QCOMPARE(p.overview->YearTable()->rowCount(), 4);
        QCOMPARE(Cell(p.overview->YearTable(), 0, 0), QString("2023"));

        p.messages.queueAnswer(ui::MessageBox::Answer::Yes);  // Delete's question
        view.SelectItem(view.Model().GetRootItem());           // the 2023 tax year
        view.OnDelete();
        settle();
        QCOMPARE(p.overview->YearTable()->rowCount(), 3);

        // A HotSync that leaves the file unreadable: the database closes, and the overview with it.
        QPointer<OverviewWindow> window = p.overview;
        p.app.Document().OnDatabaseRequest(ipc::kCloseDatabase);
        writeFile(p.db.path(), "not a database any more");
        p.app.Document().OnDatabaseRequest(ipc::kReopenDatabase);
        settle();
        QVERIFY(!window || !window->isVisible());
    }

    void exportsAreValidFiles()
    {
        Program p;
        QVERIFY(p.overview);
        TempDir dir;
        std::string error;
        QVERIFY(p.overview->ExportChart(dir.file("chart.png"), error));
        const QImage png(QString::fromStdString(dir.file("chart.png")));
        QCOMPARE(png.size(), p.overview->Chart()->size());
        QVERIFY(p.overview->ExportChart(dir.file("chart.svg"), error));
        const std::string svg = readFile(dir.file("chart.svg"));
        QVERIFY(svg.rfind("<?xml", 0) == 0);
        QVERIFY(svg.find("<svg") != std::string::npos);
        const QSize size = p.overview->Chart()->size();
        QVERIFY(svg.find("viewBox=\"0 0 " + std::to_string(size.width()) + " " + std::to_string(size.height()) + "\"") !=
                std::string::npos);
        QVERIFY(p.overview->ExportTable(true, dir.file("owed.csv"), error));
        const std::string csv = readFile(dir.file("owed.csv"));
        QVERIFY2(csv.rfind("Project,Type,IN,SU,Oldest,Age (days)\r\nAcme,TRVL,123.45,1.00,2025-02-01,", 0) == 0, csv.c_str());
        QVERIFY(!p.overview->ExportChart(dir.file("no/such/chart.png"), error));
    }

    void itsSizeIsKept()
    {
        Program p;
        QVERIFY(p.overview);
        p.overview->resize(710, 515);
        QPointer<OverviewWindow> first = p.overview;
        p.overview->close();
        settle();
        QVERIFY(!first);  // gone with its pages
        p.app.MainFrame().OnViewOverview();
        QVERIFY(p.app.MainFrame().Overview());
        QCOMPARE(p.app.MainFrame().Overview()->size(), QSize(710, 515));
    }

    void anEmptyDatabaseSaysSo()
    {
        Program p(false);
        QVERIFY(p.overview);
        QVERIFY(p.overview->YearEmpty()->isVisible());
        QCOMPARE(p.overview->YearEmpty()->text(), QString("No expenses yet"));
        QVERIFY(!p.overview->Chart()->isVisible());
        p.overview->Pages()->setCurrentIndex(1);
        QVERIFY(p.overview->OwedEmpty()->isVisible());
        QCOMPARE(p.overview->OwedEmpty()->text(), QString("No expenses yet"));
    }

    void manyTypesShareOther()
    {
        Program p;
        QVERIFY(p.overview);
        for (int type = 20; type < 52; ++type)
            p.db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Amount, ProjectID, TypeComp) VALUES (" +
                      std::to_string(type) + ", 'X', '2024-06-06 00:00:00', 2024, " + std::to_string(type * 10000) + ", 2024, 1)");
        QVERIFY(p.overview->Refresh());
        const auto* series = qobject_cast<QStackedBarSeries*>(p.overview->Chart()->chart()->series().value(0));
        QVERIFY(series);
        QCOMPARE(series->count(), OverviewWindow::kOwnColours + 1);
        QCOMPARE(series->barSets().last()->label(), QString("Other"));
        QCOMPARE(p.overview->YearTable()->columnCount(), 2 + 2 + 32);  // Year, TAX, TRVL, 32 more, Total
    }
};

QTEST_MAIN(OverviewWindowTest)
#include "OverviewWindowTest.moc"
