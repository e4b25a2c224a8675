// The per-user profile both programs share: an INI file under the user's configuration folder
// (organisation "Corvander", application "Quillmar"), read and written by section and entry as
// the desktop program and the conduit expect.
#pragma once

#include <string>

class QSettings;

namespace settings {

class ProfileSettings {
public:
    static constexpr const char* kOrganisation = "Corvander";
    static constexpr const char* kApplication = "Quillmar";
    static constexpr const char* kSettingsSection = "Settings";
    static constexpr const char* kCurrentDatabaseEntry = "CurrDBName";

    // The value, or defaultValue when the entry is missing.
    static std::string GetProfileString(const std::string& section, const std::string& entry,
                                        const std::string& defaultValue = {});
    // False when the file cannot be written.
    static bool WriteProfileString(const std::string& section, const std::string& entry, const std::string& value);

    // Path of the profile file (for messages and tests).
    static std::string FilePath();
};

}  // namespace settings
