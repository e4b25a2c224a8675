// hotsync: the HotSync host program.
#include <QApplication>
#include <QFileInfo>
#include <iostream>

#include "tools/Version.h"
#include <memory>

#include "tools/hotsync/HotSyncManager.h"

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (cli::PrintedVersion(arguments, "hotsync"))
        return 0;
    // The action dialog needs a window system; a sync runs without one.
    bool configure = false;
    for (const auto& argument : arguments)
        configure = configure || argument == "--configure";
    std::unique_ptr<QCoreApplication> application;
    if (configure)
        application = std::make_unique<QApplication>(argc, argv);
    else
        application = std::make_unique<QCoreApplication>(argc, argv);
    const std::string program = QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath().toStdString();
    return HotSyncManager(std::cout, std::cerr).Run(arguments, program);
}
