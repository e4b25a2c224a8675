// Reading the desktop program's command line.
#include "shell/CommandLine.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <filesystem>
#include <ostream>

#include "shell/VersionResource.h"

namespace {

// The arguments that are not options, as their bytes: what the parser took for the database,
// before it was decoded (a file name need not be UTF-8).
std::vector<std::string> PositionalBytes(const std::vector<std::string>& arguments)
{
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--")
            optionsEnded = true;
        else if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-")
            positional.push_back(argument);
    }
    return positional;
}

}  // namespace

CommandLine::Result CommandLine::Parse(const std::vector<std::string>& bytes, std::ostream& out, std::ostream& err)
{
    QStringList arguments;
    for (const std::string& argument : bytes)
        arguments << QString::fromLocal8Bit(argument);
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
    if (files.isEmpty())
        return {true, 0, {}};
    // Absolute, so a running copy in another folder opens the same file.
    const std::vector<std::string> positional = PositionalBytes(bytes);
    std::error_code ec;
    const std::filesystem::path given = positional.empty() ? files.first().toStdString() : positional.front();
    return {true, 0, std::filesystem::absolute(given, ec).lexically_normal().string()};
}
