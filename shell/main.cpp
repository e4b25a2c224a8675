// Quillmar: the desktop expense program.
#include <QApplication>
#include <QIcon>
#include <iostream>

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
