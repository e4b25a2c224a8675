// Replaces a file so that readers see either the old file or the complete new one: the writer
// fills a temporary file in the target's folder, which is flushed to disk, renamed over the
// target, and the folder flushed. Any failure leaves the target as it was, removes the temporary
// file and reports why.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>

#include "platform/fs/TemporaryFile.h"

namespace files {

class SafeReplace {
public:
    using Writer = std::function<void(const TemporaryFile&)>;

    static constexpr mode_t kFileMode = 0644;  // new databases and handheld files

    // Creates the temporary file (empty, open), runs write on it and publishes it as target.
    // Returns false with the reason in error when a file step fails; whatever the writer throws
    // is passed on once the temporary file is gone.
    [[nodiscard]] static bool replace(const std::string& target, const Writer& write, std::string& error,
                                      mode_t mode = kFileMode);

private:
    [[nodiscard]] static bool syncFolder(const std::string& folder, std::string& error);
};

}  // namespace files
