// Times CQuillmarView::RefreshTree on a database in both sort modes, offscreen, and compares it
// with its parts measured in the same run: the Expenses record set's ordered open and typed
// scan, and the bare insertion of as many items into the same tree model and view.
// Usage: tree_refresh DATABASE
#include <QApplication>
#include <QTabWidget>
#include <QTreeView>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "mainform/CQuillmarView.h"
#include "bench/BenchSupport.h"
#include "bench/ViewTiming.h"
#include "dbaccess/CADODataBase.h"

namespace {

double scanSeconds(CADODataBase& db)
{
    return timed([&db] {
        CAdoRecordset rs(&db);
        rs.m_strSort = "ExpType ASC, ProjectID ASC, ExpDate ASC, ExpCat ASC";
        if (!rs.OpenTable("Expenses")) {
            std::fprintf(stderr, "tree_refresh: Expenses could not be opened\n");
            std::exit(1);
        }
        long long sum = 0;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
            sum += rs.GetDF_Short("ExpType") + rs.GetDF_Long("ProjectID") + rs.GetDF_Byte("TypeComp") +
                   rs.GetDF_Boolean("Reimburse") + rs.GetDF_Short("Status") + rs.GetDF_Currency("Amount").raw() +
                   static_cast<long long>(rs.GetDF_DateTime("ExpDate").days()) +
                   static_cast<long long>(rs.GetDF_Text("ExpCat").size() + rs.GetDF_Text("Item").size() +
                                          rs.GetDF_Text("Detail").size());
        if (sum == 42)
            std::puts("");
    });
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tree_refresh DATABASE\n");
        return 2;
    }
    CADODataBase db;
    if (!db.Open(argv[1])) {
        std::fprintf(stderr, "%s\n", db.LastFailure().description.c_str());
        return 1;
    }
    const double scan = scanSeconds(db);

    // Bare insertion: the same number of items, under the same number of groups, into the same
    // model shown by the same kind of view.
    CQuillmarView view(db);
    view.TabControl()->blockSignals(true);
    view.TabControl()->addTab(new QWidget, "   Sort by Date   ");
    view.TabControl()->addTab(new QWidget, "  Sort by Category  ");
    view.TabControl()->blockSignals(false);
    view.show();
    double bare = 0;
    std::size_t items = 0;
    for (int mode = 0; mode < 2; ++mode) {
        view.TabControl()->blockSignals(true);
        view.TabControl()->setCurrentIndex(mode);
        view.TabControl()->blockSignals(false);
        const long rssBefore = statusKiB("VmRSS:");
        const double refresh = timed([&view] { view.RefreshTree(); });
        const long rssAfter = statusKiB("VmRSS:");
        items = view.Model().ItemCount();
        std::size_t groups = 0;
        for (auto item = view.Model().GetRootItem(); item; item = view.Model().GetNextSiblingItem(item))
            ++groups;

        ExpenseTreeModel model;
        QTreeView tree;
        tree.setUniformRowHeights(true);
        tree.setModel(&model);
        tree.show();
        bare = timed([&] {
            model.BeginBulkBuild();
            const std::size_t perGroup = items / (groups ? groups : 1);
            for (std::size_t inserted = 0; inserted < items;) {
                ExpenseTreeModel::Item group = model.InsertItem(nullptr, nullptr);
                ++inserted;
                for (std::size_t i = 0; i < perGroup && inserted < items; ++i, ++inserted)
                    model.InsertItem(nullptr, group);
            }
            model.EndBulkBuild();
        });
        std::printf("mode %d: items %zu refresh_s %.3f scan_s %.3f bare_insert_s %.3f ratio %.2f "
                    "tree_growth_MiB %.0f peak_rss_MiB %.0f\n",
                    mode, items, refresh, scan, bare, refresh / (scan + bare), (rssAfter - rssBefore) / 1024.0,
                    statusKiB("VmHWM:") / 1024.0);
        std::fflush(stdout);
    }
    return 0;
}
