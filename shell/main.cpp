// Quillmar: the desktop expense program.
#include <QApplication>

#include "shell/CQuillmarApp.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    CQuillmarApp app;
    if (!app.InitInstance(QApplication::arguments()))
        return app.ExitCode();
    return QApplication::exec();
}
