// CommandLine: the desktop program's command line: an optional expense database to open, and
// --help and --version in the usual form. An unknown option is an error with the usage, never
// taken for a file to open.
#pragma once

#include <QString>
#include <QStringList>
#include <iosfwd>

class CommandLine {
public:
    struct Result {
        bool bRun = true;   // false: the program ends at once with nExitCode
        int nExitCode = 0;
        QString strDatabase;  // absolute path of the database to open; empty for none
    };
    // arguments: as the program got them, its own name first. Help and version go to out,
    // errors and the usage to err.
    static Result Parse(const QStringList& arguments, std::ostream& out, std::ostream& err);
};
