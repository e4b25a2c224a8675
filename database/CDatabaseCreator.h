// Creates a new, empty expense database file from the schema. The desktop program never creates
// tables; this is what `quillmar-db create` and the tests use.
#pragma once

#include <stdexcept>
#include <string>

class CDatabaseCreator {
public:
    // The schema script compiled into the program (database/schema.sql).
    static const char* SchemaSql();

    // Writes a new database at path. An existing file is refused unless overwrite is set; it is
    // then replaced only once the new file is complete. Throws std::runtime_error.
    static void CreateEmpty(const std::string& path, bool overwrite);

    // Runs fill(temporaryPath) on a freshly created database in path's folder and renames the
    // result over path, so a failure leaves any existing file untouched.
    template <typename Fill>
    static void CreateWith(const std::string& path, bool overwrite, Fill fill)
    {
        const std::string temporary = PrepareTemporary(path, overwrite);
        try {
            fill(temporary);
        } catch (...) {
            Discard(temporary);
            throw;
        }
        Publish(temporary, path);
    }

private:
    static std::string PrepareTemporary(const std::string& path, bool overwrite);
    static void Publish(const std::string& temporary, const std::string& path);
    static void Discard(const std::string& temporary);
};
