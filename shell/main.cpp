// Quillmar: the desktop expense program.
#include <QApplication>
#include <QIcon>
#include <iostream>
#include <string>
#include <xcb/xcb.h>

#include "shell/CQuillmarApp.h"
#include "shell/CommandLine.h"

namespace {

// The installed theme icon when there is one, else the PNGs built in (Qt here has no SVG plugin).
QIcon ApplicationIcon()
{
    QIcon builtIn;
    for (const int size : {16, 32, 48, 64, 256})
        builtIn.addFile(QStringLiteral(":/icons/quillmar-%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QStringLiteral("quillmar"), builtIn);
}

// The X display the program would use when it cannot be reached (the toolkit would abort there);
// empty when it can, or when another platform is chosen.
std::string UnreachableDisplay()
{
    const QByteArray display = qgetenv("DISPLAY");
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool x11 = platform.isEmpty() ? qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") : platform.startsWith("xcb");
    if (display.isEmpty() || !x11)
        return {};
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    return failed ? display.toStdString() : std::string();
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv, argv + argc);
    const CommandLine::Result command = CommandLine::Parse(arguments, std::cout, std::cerr);
    if (!command.bRun)
        return command.nExitCode;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::cerr << "quillmar: no display found (DISPLAY and WAYLAND_DISPLAY are not set). Quillmar is a desktop\n"
                     "program: start it from a desktop session.\n";
        return 1;
    }
    if (const std::string unreachable = UnreachableDisplay(); !unreachable.empty()) {
        std::cerr << "quillmar: cannot connect to the display " << unreachable << " (DISPLAY).\n"
                  << "Start Quillmar from a desktop session whose display is running, or under a virtual one:\n"
                     "xvfb-run quillmar\n";
        return 1;
    }
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("com.corvander.quillmar"));
    QApplication::setWindowIcon(ApplicationIcon());
    CQuillmarApp app;
    std::vector<std::string> start{arguments.front()};
    if (!command.strDatabase.empty())
        start.push_back(command.strDatabase);
    if (!app.InitInstance(start))
        return app.ExitCode();
    return QApplication::exec();
}
