// Writes a compacted copy of a database file under another name: the engine's VACUUM INTO a
// temporary file in the target's folder, flushed to disk, then renamed over the target, so the
// target is either the old file or the complete copy, never half of one. A damaged source is
// refused before anything is written.
#pragma once

#include <string>

namespace ado {

class DatabaseCompactor {
public:
    // Both arguments are connection strings ("...;Data Source=PATH"). Throws ado::Error.
    static void compactDatabase(const std::string& sourceConnection, const std::string& targetConnection);
};

}  // namespace ado
