// HotSync help.
#include "conduit/entry/ShowHotSyncHelp.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/ui/HelpPages.h"

std::optional<std::string> HotSyncHelpPath()
{
    const QString page = ui::help::LocatePage("hotsync.html");
    if (page.isEmpty())
        return std::nullopt;
    return page.toStdString();
}

void ShowHotSyncHelp(QWidget* owner)
{
    const auto page = HotSyncHelpPath();
    if (!page) {
        ui::help::ShowNotInstalled(owner);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(*page)));
}
