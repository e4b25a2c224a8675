// The help button of the HotSync action dialogs: the HotSync page of the Quillmar user guide
// ("hotsync.html"), installed or in the source tree, opened in the desktop's browser.
#pragma once

#include <optional>
#include <string>

class QWidget;

// The full path of the guide's HotSync page, or nothing when no guide is found.
std::optional<std::string> HotSyncHelpPath();

// Opens the guide's HotSync page, or says that the user guide is not installed.
void ShowHotSyncHelp(QWidget* owner);
