// Replaces a file so that readers see either the old file or the complete new one: the writer
// fills a temporary file in the target's folder, which is flushed to disk, renamed over the
// target, and the folder flushed. Any failure leaves the target as it was, removes the temporary
// file and reports why. A new file gets the mode the umask gives (0666 less it); a rewritten one
// keeps the mode of the file it replaces, unless the caller makes a new file in its place.
#pragma once

#include <functional>
#include <string>

#include "platform/fs/TemporaryFile.h"

namespace files {

class SafeReplace {
public:
    using Writer = std::function<void(const TemporaryFile&)>;

    enum class Mode {
        KeepReplaced,  // a rewritten file (a handheld database) keeps the mode of the one it replaces
        New,           // a new file in the target's place (a new database, a backup) follows the umask
    };

    // Creates the temporary file (empty, open), runs write on it and publishes it as target.
    // Returns false with the reason in error when a file step fails; whatever the writer throws
    // is passed on once the temporary file is gone.
    [[nodiscard]] static bool replace(const std::string& target, const Writer& write, std::string& error,
                                      Mode mode = Mode::KeepReplaced);

private:
    [[nodiscard]] static bool syncFolder(const std::string& folder, std::string& error);
};

}  // namespace files
