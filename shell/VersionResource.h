// The program's version texts (ProductName, ProductVersion, LegalCopyright), compiled in from
// the build. A key without a value reads as missing, as a program file without a version
// resource would.
#pragma once

#include <map>
#include <optional>
#include <string>

class VersionResource {
public:
    // The texts this program was built with.
    static VersionResource Compiled();
    explicit VersionResource(std::map<std::string, std::string> values = {}) : m_values(std::move(values)) {}

    std::optional<std::string> QueryValue(const std::string& key) const;

private:
    std::map<std::string, std::string> m_values;  // key -> text
};
