// Quillmar: the desktop expense program.
#include <QApplication>
#include <QIcon>

#include "shell/CQuillmarApp.h"

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
    QApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("com.corvander.quillmar"));
    QApplication::setWindowIcon(ApplicationIcon());
    CQuillmarApp app;
    if (!app.InitInstance(QApplication::arguments()))
        return app.ExitCode();
    return QApplication::exec();
}
