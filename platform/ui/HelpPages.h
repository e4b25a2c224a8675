// Where the pages of the user guide are found: the installed guide ("quillmar/help" in the
// user's and the system's data folders, as QStandardPaths lists them), then the guide in the
// source tree the program was built from, so a program run from its build folder has it too.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace ui::help {

// The full path of a page of the guide ("index.html", "hotsync.html"), or empty when no guide
// holding it is found.
QString LocatePage(const QString& page);

// The folders looked in, in order: the installed places, then the source tree's guide.
QStringList Places();

// Says "The user guide is not installed." and where it was looked for.
void ShowNotInstalled(QWidget* parent);

// Tests: the source-tree folder looked in after the installed places (empty: none); returns the
// folder it replaces.
QString SetSourceFolder(const QString& folder);

}  // namespace ui::help
