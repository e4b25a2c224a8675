// quillmar-report entry point: a toolkit without a display, for the fonts the pages are set in.
#include <QGuiApplication>
#include <iostream>

#include "tools/Version.h"

#include "tools/quillmar-report/ReportTool.h"

int main(int argc, char** argv)
{
    if (cli::PrintedVersion(std::vector<std::string>(argv + 1, argv + argc), "quillmar-report"))
        return 0;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return ReportTool(std::cout, std::cerr).run(arguments);
}
