// Launch to a loaded main window, as Quillmar starts: the application start-up, the remembered
// database opened by the posted selection, the tree built and the window painted; then the
// change to the other sort tab. Run with XDG_CONFIG_HOME pointing at a profile whose
// Quillmar.ini names the database (bench/run-launch.sh makes one).
// Prints: shown_s (from entering main), shown_epoch_ns (the wall clock when the window had
// painted, so the caller can time from before the process started), tab_s, peak_rss_mib, lines.
#include <QApplication>
#include <QTabWidget>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "bench/BenchSupport.h"
#include "mainform/CQuillmarView.h"
#include "shell/CMainFrame.h"
#include "shell/CQuillmarApp.h"

int main(int argc, char** argv)
{
    const auto start = std::chrono::steady_clock::now();
    const auto since = [](std::chrono::steady_clock::time_point from) {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
    };
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    CQuillmarApp app;
    if (!app.InitInstance({"Quillmar"}))
        return 1;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        CQuillmarView& view = app.MainFrame().View();
        if (view.Model().ItemCount() == 0)
            return;
        poll.stop();
        app.MainFrame().repaint();
        const double shown = since(start);
        const auto shownEpoch = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                    std::chrono::system_clock::now().time_since_epoch()).count();
        const auto tabStart = std::chrono::steady_clock::now();
        view.TabControl()->setCurrentIndex(1);
        app.MainFrame().repaint();
        const double tab = since(tabStart);
        std::printf("shown_s %.3f\nshown_epoch_ns %lld\ntab_s %.3f\npeak_rss_mib %.1f\nlines %zu\n", shown,
                    static_cast<long long>(shownEpoch), tab,
                    statusKiB("VmHWM:") / 1024.0, view.Model().ItemCount());
        QCoreApplication::exit(0);
    });
    poll.start(1);
    return QApplication::exec();
}
