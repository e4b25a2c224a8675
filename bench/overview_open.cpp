// Times the Overview window on a database: opening it (both pages read, the chart and tables
// built, the window shown and painted, offscreen) and reading it again after a command (median
// of five). Prints the rows it summed so a run on the wrong file shows.
// Usage: overview_open DATABASE
#include <QApplication>
#include <QTabWidget>
#include <QTableWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/ViewTiming.h"
#include "dbaccess/CADODataBase.h"
#include "overview/OverviewWindow.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: overview_open DATABASE\n");
        return 2;
    }
    CADODataBase db;
    if (!db.Open(argv[1])) {
        std::fprintf(stderr, "%s\n", db.LastFailure().description.c_str());
        return 1;
    }
    OverviewWindow* window = nullptr;
    const double open = timed([&] {
        window = new OverviewWindow(db, {});
        (void)window->Refresh();
        window->show();
        QCoreApplication::processEvents();
    });
    std::vector<double> refresh;
    for (int run = 0; run < 5; ++run)
        refresh.push_back(timed([&] {
            (void)window->Refresh();
            QCoreApplication::processEvents();
        }));
    std::sort(refresh.begin(), refresh.end());
    const double owedPage = timed([&] { window->Pages()->setCurrentIndex(1); });
    const double owedRefresh = timed([&] { (void)window->Refresh(); });
    // The two aggregate reads alone, as the refresh runs them.
    std::vector<double> reads;
    for (int run = 0; run < 5; ++run)
        reads.push_back(timed([&] {
            overview::ByYear byYear;
            overview::Owed owed;
            std::string error;
            (void)overview::ReadByYear(db, byYear, error);
            (void)overview::ReadOwed(db, ole::DateTime::currentLocal(), owed, error);
        }));
    std::sort(reads.begin(), reads.end());
    std::printf("open_s %.3f refresh_median_s %.3f refresh_max_s %.3f owed_page_s %.3f owed_refresh_s %.3f "
                "both_reads_median_s %.3f years %d owed_rows %d\n",
                open, refresh[2], refresh[4], owedPage, owedRefresh, reads[2],
                window->YearTable()->rowCount() - 1, window->OwedTable()->rowCount() - 1);
    delete window;
    return 0;
}
