// Times Find on a database: each keystroke of a few typed texts narrows the tree of
// CQuillmarView (the tree built again from the rows it holds), offscreen, from the edit's change
// to the view having taken the new tree. Beside it, in the same run, a bare scan of the same
// rows: the held record set walked once with the columns Find reads. It also times what keeping
// the tree's place adds to a rebuild: RefreshTree with ten groups open and a line selected
// against the tree's own Refresh of the same rows.
// Usage: find_keystroke DATABASE
#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/ViewTiming.h"
#include "database/ExpenseRow.h"
#include "dbaccess/CADODataBase.h"
#include "expensetree/ExpenseFilter.h"
#include "mainform/CQuillmarView.h"

namespace {

double bareScanSeconds(CAdoRecordset& expenses)
{
    return timed([&expenses] {
        const std::uint32_t columns = CExpTreeItem::kGroupColumns | ExpenseFilter::kColumns;
        std::size_t size = 0;
        for (expenses.MoveFirst(); !expenses.IsEOF(); expenses.MoveNext()) {
            const ExpenseRow row = ExpenseRow::Read(expenses, columns);
            size += row.m_strItem.size() + row.m_strDetail.size() + row.m_strVendor.size();
        }
        if (size == 42)
            std::puts("");
    });
}

// The median over five runs of RefreshTree (capturing and applying the place) minus the tree's
// bare Refresh, with ten groups open and a line of the last one selected.
double placeOverheadSeconds(CQuillmarView& view)
{
    std::vector<double> kept;
    std::vector<double> plain;
    for (int run = 0; run < 5; ++run) {
        int opened = 0;
        ExpenseTree::Item last = nullptr;
        for (auto group = view.Model().GetRootItem(); group && opened < 10; group = view.Model().GetNextSiblingItem(group), ++opened) {
            view.TreeView()->setExpanded(view.Model().IndexOf(group), true);
            last = group;
        }
        view.SelectItem(view.Model().GetChildItem(last));
        kept.push_back(timed([&view] { view.RefreshTree(); }));
        plain.push_back(timed([&view] { view.Tree().Refresh(view.CurrentSortMode()); }));
    }
    std::sort(kept.begin(), kept.end());
    std::sort(plain.begin(), plain.end());
    return kept[2] - plain[2];
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: find_keystroke DATABASE\n");
        return 2;
    }
    CADODataBase db;
    if (!db.Open(argv[1])) {
        std::fprintf(stderr, "%s\n", db.LastFailure().description.c_str());
        return 1;
    }
    CQuillmarView view(db);
    view.OnInitialUpdate();
    view.show();
    QCoreApplication::processEvents();
    for (int mode = 0; mode < 2; ++mode) {
        view.TabControl()->setCurrentIndex(mode);
        // Opening the bar reads every row's searched texts once; the keystrokes then read none.
        view.CloseFind();
        const double open = timed([&view] { view.OnFind(); });
        // Typed one key at a time, then taken back, then an amount, then a text nothing matches.
        const std::vector<QString> keystrokes = {"g", "ga", "gas", "ga", "g", "", "1", "12", "12.", "12.5", "", "x", "xq"};
        std::vector<double> seconds;
        for (const QString& text : keystrokes)
            seconds.push_back(timed([&] { view.FindEdit()->setText(text); }));
        const std::size_t slowest = std::max_element(seconds.begin(), seconds.end()) - seconds.begin();
        std::vector<double> sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        view.FindEdit()->setText("gas");
        const std::size_t shownForGas = view.Tree().LineCount();
        view.FindEdit()->clear();
        const double bare = bareScanSeconds(view.Expenses());
        const double place = placeOverheadSeconds(view);
        std::printf("mode %d: rows %ld open_s %.3f keystrokes %zu median_s %.3f max_s %.3f slowest '%s' bare_scan_s %.3f gas_lines %zu "
                    "place_overhead_s %.3f peak_rss_MiB %.0f\n",
                    mode, view.Tree().RowCount(), open, seconds.size(), sorted[sorted.size() / 2], sorted.back(),
                    keystrokes[slowest].toStdString().c_str(), bare,
                    shownForGas, place, statusKiB("VmHWM:") / 1024.0);
        std::fflush(stdout);
    }
    return 0;
}
