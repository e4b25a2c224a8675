// Finding the user guide.
#include "platform/ui/HelpPages.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <utility>

#include "platform/ui/MessageBox.h"

namespace ui::help {
namespace {

constexpr const char* kInstalledFolder = "quillmar/help";

QString& SourceFolder()
{
#ifdef QUILLMAR_SOURCE_HELP_DIR
    static QString folder = QStringLiteral(QUILLMAR_SOURCE_HELP_DIR);
#else
    static QString folder;
#endif
    return folder;
}

}  // namespace

QString LocatePage(const QString& page)
{
    const QString installed =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, QString(kInstalledFolder) + '/' + page);
    if (!installed.isEmpty())
        return installed;
    if (SourceFolder().isEmpty())
        return {};
    const QFileInfo source(QDir(SourceFolder()), page);
    return source.isFile() ? source.absoluteFilePath() : QString();
}

QStringList Places()
{
    QStringList places;
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        places << QDir(data).filePath(kInstalledFolder);
    if (!SourceFolder().isEmpty())
        places << SourceFolder();
    return places;
}

void ShowNotInstalled(QWidget* parent)
{
    MessageBox::Show(parent, "The user guide is not installed.\n\nLooked in:\n" + Places().join('\n'), {},
                     MessageBox::Buttons::Ok, MessageBox::Icon::Information);
}

QString SetSourceFolder(const QString& folder) { return std::exchange(SourceFolder(), folder); }

}  // namespace ui::help
