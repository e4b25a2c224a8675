// JetConversion: copies the expense database held in an Access (Jet) file into a new Quillmar
// database, leaving the Jet file as it was. Every row of the seven tables is copied column by
// column; a row the schema or its rules refuse stops the conversion with the table, row and
// value (or, when asked, is skipped and listed). The new file is written beside its target and
// takes its place only once it is complete, passes the integrity check and holds, table by
// table, as many rows and the same amount total as were read; its lookup version is moved on,
// so the next HotSync sends the lookups.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace jet {
class Source;
}

class JetConversion {
public:
    struct Options {
        bool overwrite = false;    // an existing target may be replaced
        bool skipBadRows = false;  // refused rows are left out and listed instead of stopping
    };

    struct Result {
        long expenses = 0, accounts = 0, types = 0, categories = 0, projects = 0;
        std::vector<std::string> skipped;  // "Table T, row N: ..." for each row left out
        // "Converted N expenses, A accounts, T expense types, C categories, P projects."
        std::string Summary() const;
    };

    // sourceName names the Jet file in messages. Throws std::runtime_error with a message for
    // the user; nothing is then written at target.
    static Result Convert(jet::Source& source, const std::string& sourceName, const std::string& target,
                          const Options& options);
};
