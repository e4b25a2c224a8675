// The reports: each kind's pages read as the report should (title, heads, headings, lines,
// subtotals, total, footer), sums that are right however the pages are drawn, pages laid out for
// the device actually used with no line reaching the footer, the options dialog's choice, and the
// PDF that quillmar-report writes.
#include <QtTest>

#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <sstream>

#include "dbaccess/CADODataBase.h"
#include "platform/ole/FormatAmount.h"
#include "reports/CReportOpts.h"
#include "reports/ReportChoice.h"
#include "reports/ReportFactory.h"
#include "reports/ReportPrinter.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TestDatabase.h"
#include "tools/quillmar-report/ReportTool.h"

namespace {

struct Fixture {
    TestDatabase db;
    CADODataBase connection;
    CAdoRecordset types{&connection}, projects{&connection}, statuses{&connection};
    MessageLog messages;

    Fixture()
    {
        SetAmountLocale(ole::NumberLocale(".", ","));
        db.exec("INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES (20, 'OFFC', 'Office', 1), "
                "(12, 'TRVL', 'Travel', 2), (5, 'ODD', 'Five', 2)");
        db.exec("INSERT INTO lkpExpCategories (ExpType, ExpCat, CatDesc) VALUES (20, 'SUPPLIES', 'Supplies'), "
                "(12, 'FUEL', 'Fuel'), (12, 'MEALS', 'Meals')");
        db.exec("INSERT INTO Projects (ProjectID, ProjectName) VALUES (7, 'Acme')");
        db.exec("UPDATE lkpExpBillStatus SET StatDesc = NULL WHERE StatusCode = 'SU'");
        db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Vendor, AcctCode, ChkNbr, Amount, "
                "Reimburse, Status, ProjectID, TypeComp) VALUES "
                "(20, 'SUPPLIES', '2026-01-05 00:00:00', 2026, 'Paper', 'Staples', 'VISA', '', 123400, 0, 0, 2026, 1), "
                "(20, 'SUPPLIES', '2026-02-01 00:00:00', 2026, 'Toner', 'Staples', 'CHK', '1042', 999999900, 0, 0, 2026, 1), "
                "(20, 'INK', '2026-03-01 00:00:00', 2026, 'Refund', 'Inky''s', 'CASH', '', -50000, 0, 0, 2026, 1), "
                "(20, 'SUPPLIES', '2025-12-30 00:00:00', 2025, 'Old', '', '', '', 10000, 0, 0, 2025, 1), "
                "(1, 'STATE', '2026-04-15 00:00:00', 2026, 'Q1', '', 'CHK', '77', 100, 0, 0, 2026, 0), "
                "(1, 'FED', '2026-06-15 00:00:00', 2026, 'Q2', '', 'CHK', '78', 200, 0, 0, 2026, 0), "
                "(12, 'FUEL', '2026-05-01 00:00:00', 2026, 'Gas', 'Shell', 'VISA', '', 400000, 1, 1, 7, 2), "
                "(12, 'MEALS', '2026-05-02 00:00:00', 2026, 'Lunch', 'Deli', 'AMEX', '', 120000, 1, 2, 7, 2), "
                "(12, 'FUEL', '2026-05-03 00:00:00', 2026, 'Diesel', 'BP', 'VISA', '', 100000, 1, 3, 7, 2), "
                "(12, 'FUEL', '2026-05-04 00:00:00', 2026, 'Unbilled', '', '', '', 10000, 0, 0, 7, 2)");
        if (!connection.Open(db.path()) || !types.OpenTable("lkpExpTypes") || !projects.OpenTable("Projects") ||
            !statuses.OpenTable("lkpExpBillStatus"))
            qFatal("cannot open the test database");
    }
    ReportSettings settings(std::int16_t type, std::int32_t key, bool summary = false,
                            GroupBy groupBy = GroupBy::Category)
    {
        return ReportChoice(types, projects).Settings(type, key, summary, groupBy, {1, 2, 3});
    }
};

// A page device: A4 or Letter at a resolution, white.
QImage Paper(double widthMm, double heightMm, int dpi)
{
    QImage image(static_cast<int>(widthMm / 25.4 * dpi), static_cast<int>(heightMm / 25.4 * dpi), QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
    image.fill(Qt::white);
    return image;
}

QStringList Text(const CExpenseReport& report, int page)
{
    QStringList lines;
    for (const std::string& line : report.PageText(page))
        lines << QString::fromStdString(line);
    return lines;
}

QByteArray readBytes(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class ReportsTest : public QObject {
    Q_OBJECT
private slots:
    void eachKindReadsAsItShould()
    {
        const struct {
            const char* name;
            std::int16_t type;
            std::int32_t key;
            bool summary;
            GroupBy groupBy;
            ReportKind kind;
            QStringList page;
        } kinds[] = {
            {"year detail", 20, 2026, false, GroupBy::Category, ReportKind::YearDetail,
             {"Office for 2026", "Cat | Item | Date | Vendor | Payment | Amount", "INK - <no description>",
              " | Refund | 03/01 | Inky's | CASH   | -5.00", "INK  Subtotal: -5.00", "SUPPLIES - Supplies",
              " | Paper | 01/05 | Staples | VISA   | 12.34", " | Toner | 02/01 | Staples | CHK  1042 | 99999.99",
              "Supplies  Subtotal: 100012.33", "Total Office for 2026: 100007.33", "Page 1 of 1"}},
            {"year list", 1, 2026, true /* no summary for type 1 */, GroupBy::Category,
             ReportKind::EstimatedTaxYearList,
             {"Estimated Tax for 2026", "Cat | Date | Description | Payment | Amount", "FED | 06/15/26 | Q2 | CHK  78 | 0.02",
              "FED  Subtotal: 0.02", "STATE | 04/15/26 | Q1 | CHK  77 | 0.01", "STATE  Subtotal: 0.01",
              "Total Estimated Tax for 2026: 0.03", "Page 1 of 1"}},
            {"year summary", 20, 2026, true, GroupBy::Category, ReportKind::YearSummary,
             {"Office for 2026", "Cat | Description | Amount", "INK |  | -5.00", "SUPPLIES | Supplies | 100012.33",
              "Total Office for 2026: 100007.33", "Page 1 of 1"}},
            {"project detail by status", 12, 7, false, GroupBy::Status, ReportKind::ProjectDetail,
             {"Expenses for Acme", "Stat | Cat | Item | Date | Vendor | Payment | Amount", "IN - Incurred",
              " | FUEL | Gas | 05/01 | Shell | VISA   | 40.00", "Incurred  Subtotal: 40.00", "SU - <no description>",
              " | MEALS | Lunch | 05/02 | Deli | AMEX   | 12.00", "SU  Subtotal: 12.00", "PD - Paid",
              " | FUEL | Diesel | 05/03 | BP | VISA   | 10.00", "Paid  Subtotal: 10.00", "Total Expenses for Acme: 62.00",
              "Page 1 of 1"}},
            {"project summary by category", 12, 7, true, GroupBy::Category, ReportKind::ProjectSummary,
             {"Expenses for Acme", "Cat | Stat | Description | Amount", "FUEL - Fuel", " | IN | Incurred | 40.00",
              " | PD | Paid | 10.00", "Fuel  Subtotal: 50.00", "MEALS - Meals", " | SU |  | 12.00", "Meals  Subtotal: 12.00",
              "Total Expenses for Acme: 62.00", "Page 1 of 1"}},
        };
        Fixture f;
        QImage paper = Paper(210, 297, 150);
        for (const auto& k : kinds) {
            const ReportSettings settings = f.settings(k.type, k.key, k.summary, k.groupBy);
            QCOMPARE(settings.m_nKind, k.kind);
            const auto report = ReportFactory::Create(f.connection, settings);
            QCOMPARE(report->Prepare(paper), 1);
            QCOMPARE(Text(*report, 1), k.page);
        }
    }

    void theChoiceFollowsTheTypeAndNamesTheReport()
    {
        Fixture f;
        ReportChoice choice(f.types, f.projects);
        QVERIFY(choice.IsProjectType(12));
        QVERIFY(!choice.IsProjectType(5));  // types up to 9 never are, whatever their row says
        QCOMPARE(f.settings(5, 2026, true).m_nKind, ReportKind::YearSummary);
        QCOMPARE(f.settings(0, 2026, true).m_nKind, ReportKind::TaxYearSummary);
        QCOMPARE(f.settings(0, 2026).m_nKind, ReportKind::TaxYearDetail);
        QCOMPARE(f.settings(12, 99).m_strTitle, std::string("<unknown project>"));
        QCOMPARE(f.settings(44, 2026).m_strTitle, std::string("<unknown>"));
        QCOMPARE(ReportChoice::StatusFilter({2}), std::string("Status=2"));
        QCOMPARE(ReportChoice::StatusFilter({1, 2, 3}), std::string("Status IN (1,2,3)"));
        QCOMPARE(ReportChoice::StatusFilter({}), std::string());
    }

    void eachChoiceOfTypeAndFormHasItsKindAndReport()
    {
        const struct {
            std::int16_t type;
            bool project, summary;
            ReportKind kind;
        } choices[] = {
            {0, false, false, ReportKind::TaxYearDetail},
            {0, false, true, ReportKind::TaxYearSummary},
            {1, false, false, ReportKind::EstimatedTaxYearList},
            {1, false, true, ReportKind::EstimatedTaxYearList},  // type 1 has no summary
            {5, false, false, ReportKind::YearDetail},
            {20, false, true, ReportKind::YearSummary},
            {12, true, false, ReportKind::ProjectDetail},
            {12, true, true, ReportKind::ProjectSummary},
        };
        for (const auto& c : choices)
            QCOMPARE(ReportKindFor(c.type, c.project, c.summary), c.kind);

        // The tax year's two kinds print as the detail and the summary of a year.
        Fixture f;
        f.db.exec("INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Amount, ProjectID, TypeComp) "
                  "VALUES (0, 'FEES', '2026-03-01 00:00:00', 2026, 'Filing', 100, 2026, 0)");
        QImage paper = Paper(210, 297, 150);
        for (const bool summary : {false, true}) {
            const auto report = ReportFactory::Create(f.connection, f.settings(0, 2026, summary));
            QCOMPARE(report->Prepare(paper), 1);
            QCOMPARE(Text(*report, 1).at(1), QString(summary ? "Cat | Description | Amount"
                                                             : "Cat | Item | Date | Vendor | Payment | Amount"));
        }
        ReportSettings unknown;
        unknown.m_nKind = static_cast<ReportKind>(7);
        QVERIFY(!ReportFactory::Create(f.connection, unknown));
    }

    void longReportsRepeatHeadingsKeepTheirSumsAndNeverReachTheFooter()
    {
        Fixture f;
        f.db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 150) "
                  "INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Amount, Reimburse, Status, ProjectID, TypeComp) "
                  "SELECT 12, 'MEALS', '2026-07-01 00:00:00', 2026, 'Meal ' || i, 100, 1, 1 + i % 3, 7, 2 FROM n");
        for (const bool summary : {false, true}) {
            const GroupBy by = summary ? GroupBy::Status : GroupBy::Category;
            const auto report = ReportFactory::Create(f.connection, f.settings(12, 7, summary, by));
            QImage a4 = Paper(210, 297, 100);
            const int pages = report->Prepare(a4);
            QVERIFY2(summary ? pages == 1 : pages >= 3, qPrintable(QString::number(pages) + QString::fromStdString(report->ReadFailure())));
            int totals = 0;
            for (int page = 1; page <= pages; ++page) {
                const QStringList text = Text(*report, page);
                QCOMPARE(text.back(), QString("Page %1 of %2").arg(page).arg(pages));
                totals += static_cast<int>(text.filter("Total Expenses for Acme:").size());
                if (!summary && page > 1)  // a group that goes on repeats its heading first
                    QVERIFY2(text[2].endsWith(" - Meals") || text[2].endsWith(" - Fuel"), qPrintable(text.join('\n')));
            }
            QCOMPARE(totals, 1);
            QVERIFY(Text(*report, pages).contains(QString("Total Expenses for Acme: 63.50")));
        }

        // Any page drawn in any order, any number of times, looks the same; and no body line
        // comes below the body, into the footer's margin.
        const auto report = ReportFactory::Create(f.connection, f.settings(12, 7));
        QImage paper = Paper(210, 297, 100);
        const int pages = report->Prepare(paper);
        const auto draw = [&](int page) {
            QImage image = Paper(210, 297, 100);
            QPainter painter(&image);
            report->PrintPage(painter, page);
            return image;
        };
        const QImage last = draw(pages), first = draw(1), lastAgain = draw(pages);
        QCOMPARE(last, lastAgain);
        QCOMPARE(draw(1), first);
        const int bodyBottom = 100 * 3 / 4 + (paper.height() - 2 * (100 * 3 / 4));
        const int footerTop = bodyBottom + QFontMetrics(QFont(QFont("Arial", 10), &paper)).height();
        for (int page = 1; page < pages; ++page) {  // full pages
            const QImage image = draw(page);
            for (int y = bodyBottom + 1; y < footerTop; ++y)
                for (int x = 0; x < image.width(); ++x)
                    QVERIFY2(image.pixel(x, y) == qRgb(255, 255, 255), qPrintable(QString("page %1 y %2").arg(page).arg(y)));
        }
    }

    void pagesFollowTheDeviceTheyArePrintedOn()
    {
        Fixture f;
        f.db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200) "
                  "INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Amount, ProjectID, TypeComp) "
                  "SELECT 20, 'SUPPLIES', '2026-08-01 00:00:00', 2026, 'Pen ' || i, 100, 2026, 1 FROM n");
        const auto report = ReportFactory::Create(f.connection, f.settings(20, 2026));
        QImage a4 = Paper(210, 297, 150), landscape = Paper(297, 210, 150);
        const int portraitPages = report->Prepare(a4);
        const int landscapePages = report->Prepare(landscape);
        QVERIFY(landscapePages > portraitPages);
        QCOMPARE(Text(*report, 2).back(), QString("Page 2 of %1").arg(landscapePages));
    }

    void thePreviewsPdfExportSaysWhatItWrote()
    {
        Fixture f;
        FileDialogScript files;
        const std::string pdf = f.db.dir().file("preview.pdf");
        files.choose(pdf);
        const auto report = ReportFactory::Create(f.connection, f.settings(20, 2026));
        QStringList said;
        whenModal<QPrintPreviewDialog>([](QPrintPreviewDialog* preview) {
            preview->findChild<QAction*>("exportPdfAction")->trigger();
            preview->reject();
        });
        ReportPrinter::Preview(nullptr, *report, [&said](const QString& text) { said << text; });
        QCOMPARE(said, QStringList({"Exported 1 page to " + QString::fromStdString(pdf) + "."}));
        QVERIFY(readBytes(pdf).startsWith("%PDF"));
    }

    void theOptionsDialogOffersWhatThereIsAndRefusesNoStatus()
    {
        Fixture f;
        ReportSettings settings;
        CReportOpts dialog(f.connection, f.types, f.projects, f.statuses, settings);
        QTreeWidget* typeList = dialog.TypeList();
        QStringList offered;
        for (int i = 0; i < typeList->topLevelItemCount(); ++i)
            offered << typeList->topLevelItem(i)->text(0);
        offered.sort();
        QCOMPARE(offered, QStringList({"EST", "OFFC", "TRVL"}));  // types with expenses and a row
        const auto select = [&](const char* label) {
            for (int i = 0; i < typeList->topLevelItemCount(); ++i)
                if (typeList->topLevelItem(i)->text(0) == label)
                    typeList->setCurrentItem(typeList->topLevelItem(i));
        };
        select("OFFC");
        QCOMPARE(dialog.KeyList()->count(), 2);
        QCOMPARE(dialog.KeyList()->item(0)->text(), QString("2025"));
        QVERIFY(!dialog.StatusList()->isEnabled());
        select("EST");
        QVERIFY(!dialog.findChild<QRadioButton*>("summaryRadio")->isEnabled());
        select("TRVL");
        QCOMPARE(dialog.KeyList()->item(0)->text(), QString("Acme"));
        QCOMPARE(dialog.StatusList()->count(), 4);
        int ticked = 0;
        for (int i = 0; i < dialog.StatusList()->count(); ++i)
            ticked += dialog.StatusList()->item(i)->checkState() == Qt::Checked;
        QCOMPARE(ticked, 3);  // every status but 0
        for (int i = 0; i < dialog.StatusList()->count(); ++i)
            dialog.StatusList()->item(i)->setCheckState(Qt::Unchecked);
        dialog.findChild<QPushButton*>("previewButton")->click();
        QCOMPARE(f.messages.texts(), QStringList({"Please tick at least one status code."}));
        QVERIFY(dialog.result() != QDialog::Accepted);
        dialog.StatusList()->item(1)->setCheckState(Qt::Checked);
        dialog.findChild<QRadioButton*>("byStatusRadio")->setChecked(true);
        dialog.findChild<QPushButton*>("previewButton")->click();
        QVERIFY(dialog.m_bPreview);
        QCOMPARE(settings.m_nKind, ReportKind::ProjectDetail);
        QCOMPARE(settings.m_nGroupBy, GroupBy::Status);
        QCOMPARE(settings.m_lProjectID, 7);
        QCOMPARE(settings.m_strTitle, std::string("Acme"));
        QVERIFY(settings.m_strStatusFilter.rfind("Status=", 0) == 0);
    }

    void quillmarReportWritesThePdf()
    {
        Fixture f;
        const std::string pdf = f.db.dir().file("office.pdf");
        std::ostringstream out, err;
        QCOMPARE(ReportTool(out, err).run({f.db.path(), "--type", "20", "--year", "2026", "--pdf", pdf}), 0);
        QCOMPARE(out.str(), "Wrote 1 page to " + pdf + "\n");
        for (const auto& wrong : std::vector<std::vector<std::string>>{
                 {f.db.path(), "--type", "20", "--pdf", pdf},
                 {f.db.path(), "--type", "20", "--year", "x", "--pdf", pdf},
                 {f.db.path(), "--type", "20", "--year", "2026", "--project", "7", "--pdf", pdf},
                 {f.db.path(), "--type", "20", "--year", "2026", "--pdf", pdf, "--page-size", "A5"}})
            QCOMPARE(ReportTool(out, err).run(wrong), 2);
        // Refusals: exit 1, the reason on standard error, no file written or replaced.
        const std::string none = f.db.dir().file("none.pdf");
        const std::pair<std::vector<std::string>, std::string> refused[] = {
            {{"--type", "12", "--year", "2026", "--pdf", none}, "type 12 is reimbursable: give --project"},
            {{"--type", "20", "--year", "1999", "--pdf", none}, "year 1999 has no expenses of type 20"},
            {{"--type", "12", "--project", "999", "--pdf", none}, "project 999 has no expenses of type 12"},
            {{"--type", "20", "--year", "2026", "--pdf", pdf}, pdf + " already exists; give --force to replace it"},
        };
        const QByteArray written = readBytes(pdf);
        for (const auto& [arguments, reason] : refused) {
            std::vector<std::string> line{f.db.path()};
            line.insert(line.end(), arguments.begin(), arguments.end());
            std::ostringstream quiet, why;
            QCOMPARE(ReportTool(quiet, why).run(line), 1);
            QCOMPARE(why.str(), "quillmar-report: " + reason + "\n");
        }
        QVERIFY(!QFile::exists(QString::fromStdString(none)));
        QCOMPARE(readBytes(pdf), written);
        QFile(QString::fromStdString(pdf)).resize(10);
        QCOMPARE(ReportTool(out, err).run({f.db.path(), "--type", "20", "--year", "2026", "--pdf", pdf, "--force"}), 0);
        QVERIFY(readBytes(pdf).startsWith("%PDF"));
        if (std::system("pdftotext -v >/dev/null 2>&1") != 0)
            QSKIP("pdftotext is not installed");
        const std::string text = f.db.dir().file("office.txt");
        QCOMPARE(std::system(("pdftotext -layout " + pdf + " " + text).c_str()), 0);
        QFile in(QString::fromStdString(text));
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QString pages = QString::fromUtf8(in.readAll());
        for (const char* expected : {"Office for 2026", "INK - <no description>", "Supplies Subtotal:", "100012.33",
                                     "Total Office for 2026:", "100007.33", "Page 1 of 1"})
            QVERIFY2(pages.contains(expected), expected);
    }
};

QTEST_MAIN(ReportsTest)
#include "ReportsTest.moc"
