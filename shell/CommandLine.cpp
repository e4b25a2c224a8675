// Reading the desktop program's command line.
#include "shell/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QRegularExpression>
#include <ostream>

#include "shell/VersionResource.h"

CommandLine::Result CommandLine::Parse(const QStringList& arguments, std::ostream& out, std::ostream& err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Quillmar: the desktop expense program. Opens DATABASE (an expense database, *.mdb),\n"
                                     "or the default database, or asks for one.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument("DATABASE", "The expense database to open.", "[DATABASE]");
    const auto usage = [&parser] {
        // The usage names the installed program, whatever the file it was started from.
        return parser.helpText().replace(QRegularExpression("^Usage: \\S+"), "Usage: quillmar").toStdString();
    };
    if (!parser.parse(arguments)) {
        err << "quillmar: " << parser.errorText().toStdString() << "\n\n" << usage();
        return {false, 2, {}};
    }
    if (parser.isSet(help)) {
        out << usage();
        return {false, 0, {}};
    }
    if (parser.isSet(version)) {
        out << "quillmar " << VersionResource::Compiled().QueryValue("ProductVersion").value_or("") << "\n";
        return {false, 0, {}};
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        err << "quillmar: one database at a time\n\n" << usage();
        return {false, 2, {}};
    }
    // Absolute, so a running copy in another folder opens the same file.
    return {true, 0, files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath()};
}
