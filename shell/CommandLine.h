// CommandLine: the desktop program's command line: an optional expense database to open, and
// --help and --version in the usual form. An unknown option is an error with the usage, never
// taken for a file to open.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class CommandLine {
public:
    struct Result {
        bool bRun = true;   // false: the program ends at once with nExitCode
        int nExitCode = 0;
        std::string strDatabase;  // absolute path of the database to open, its bytes as given;
                                  //   empty for none
    };
    // arguments: as the program got them (bytes, not necessarily UTF-8), its own name first.
    // Help and version go to out, errors and the usage to err.
    static Result Parse(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
};
