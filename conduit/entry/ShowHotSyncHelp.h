// The help button of the HotSync action dialogs: the help page that sits beside the HotSync
// program (its path with ".exe" replaced by ".hlp"), shown when it is installed.
#pragma once

#include <optional>
#include <string>

class QWidget;

// The help file for a HotSync program path, or nothing when the path holds no ".exe".
std::optional<std::string> HotSyncHelpPath(const std::string& programPath);

// Asks the HotSync host for its program path and opens the help file beside it, if any.
void ShowHotSyncHelp(QWidget* owner);
