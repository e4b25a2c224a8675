// Creates a new, empty expense database file from the schema. The desktop program never creates
// tables; this is what `quillmar-db create` and the tests use. The file is written through the
// access layer, which replaces an existing file only once the new one is complete.
#pragma once

#include <stdexcept>
#include <string>

class CDatabaseCreator {
public:
    // The schema script compiled into the program (database/schema.sql).
    static const char* SchemaSql();

    // Throws std::runtime_error unless path may take a new database: it must be named, must not
    // be a folder, and must not exist unless overwrite is set.
    static void CheckTarget(const std::string& path, bool overwrite);

    // Writes a new database at path. An existing file is refused unless overwrite is set; it is
    // then replaced only once the new file is complete, and kept as it was when anything fails.
    // Throws std::runtime_error.
    static void CreateEmpty(const std::string& path, bool overwrite);
};
