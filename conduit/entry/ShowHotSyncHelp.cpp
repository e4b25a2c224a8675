// HotSync help.
#include "conduit/entry/ShowHotSyncHelp.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "platform/palm/CondMgr.h"

namespace {
constexpr std::int32_t kHelpContext = 131471;  // the HotSync action topic (0x2018F)
}

std::optional<std::string> HotSyncHelpPath(const std::string& programPath)
{
    const std::size_t at = programPath.find(".exe");
    if (at == std::string::npos)
        return std::nullopt;
    return programPath.substr(0, at) + ".hlp";  // anything after ".exe" is dropped
}

void ShowHotSyncHelp(QWidget*)
{
    char path[260] = {};
    std::int32_t size = sizeof path;
    if (CmGetHotSyncExecPath(path, &size) != 0)
        return;
    const auto help = HotSyncHelpPath(path);
    if (!help || !QFileInfo::exists(QString::fromStdString(*help)))
        return;
    QUrl page = QUrl::fromLocalFile(QString::fromStdString(*help));
    page.setFragment(QString::number(kHelpContext));
    QDesktopServices::openUrl(page);
}
