// File dialogs over QFileDialog (the toolkit's own widget, so a check box can be added).
#include "platform/ui/FileDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <dirent.h>

namespace ui {
namespace {

FileDialog::Handler& handler()
{
    static FileDialog::Handler instance;
    return instance;
}

// The one entry of folder whose name the toolkit shows as shown; nothing when none or several do.
std::optional<std::string> NameShownAs(const std::string& folder, const QString& shown)
{
    std::optional<std::string> match;
    DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str());
    if (!dir)
        return std::nullopt;
    int matches = 0;
    while (const dirent* entry = ::readdir(dir))
        if (QFile::decodeName(entry->d_name) == shown && ++matches == 1)
            match = entry->d_name;
    ::closedir(dir);
    return matches == 1 ? match : std::nullopt;
}

}  // namespace

std::string FileDialog::Result::NativePath() const
{
    if (!path.contains(QChar::ReplacementCharacter))
        return path.toStdString();
    std::string native = path.startsWith('/') ? "" : ".";
    for (const QString& part : path.split('/', Qt::SkipEmptyParts)) {
        const std::optional<std::string> name =
            part.contains(QChar::ReplacementCharacter) ? NameShownAs(native, part) : std::nullopt;
        native += "/" + (name ? *name : part.toStdString());
    }
    return native;
}

void FileDialog::SetHandler(Handler replacement) { handler() = std::move(replacement); }

QString FileDialog::ToolkitFilter(const QString& filter)
{
    const QStringList parts = filter.split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(';', ' ');
        const int open = name.indexOf('(');
        if (open >= 0)
            name = name.left(open).trimmed();
        filters << name + " (" + patterns + ")";
    }
    return filters.join(";;");
}

std::optional<FileDialog::Result> FileDialog::Run(QWidget* parent, const Request& request)
{
    if (handler())
        return handler()(request);

    QFileDialog dialog(parent, request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save || !request.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setNameFilter(ToolkitFilter(request.filter));
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.initialName.isEmpty() && !request.initialName.contains('*'))
        dialog.selectFile(request.initialName);

    QCheckBox* checkBox = nullptr;
    if (!request.checkBoxText.isEmpty()) {
        checkBox = new QCheckBox(request.checkBoxText, &dialog);
        checkBox->setChecked(request.checkBoxChecked);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(checkBox, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return Result{QFileInfo(dialog.selectedFiles().first()).absoluteFilePath(), checkBox && checkBox->isChecked()};
}

}  // namespace ui
