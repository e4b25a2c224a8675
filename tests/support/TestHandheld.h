// A handheld for one test: a fresh directory in a temporary folder, connected to libpalmsync for
// the test's lifetime, with every HotSync log line captured. Also small helpers to put database
// files on it as the handheld application would leave them and to read back what was written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/palm/PalmDatabaseFile.h"
#include "tests/support/TempDir.h"

struct LogLine {
    std::string text;        // the line as logged
    std::int32_t activity;   // its activity code

    bool operator==(const LogLine&) const = default;
};

class TestHandheld {
public:
    TestHandheld();
    ~TestHandheld();
    TestHandheld(const TestHandheld&) = delete;
    TestHandheld& operator=(const TestHandheld&) = delete;

    const std::string& path() const { return m_dir.path(); }
    std::string file(const std::string& name) const { return m_dir.file(name); }

    // Saves a database as NAME.pdb or NAME.prc (by its ResDB attribute).
    void put(const palm::PalmDatabaseFile& db) const;
    // Whether NAME.pdb or NAME.prc exists.
    bool has(const std::string& name) const;
    // Loads NAME.pdb or NAME.prc; a file that cannot be read fails the test and gives an empty one.
    palm::PalmDatabaseFile load(const std::string& name) const;
    // The data of each record of a record database, in order.
    std::vector<std::vector<std::uint8_t>> records(const std::string& name) const;

    // Connects this handheld again (after another was connected), its log lines to m_log.
    void connect();
    // "HotSync User" with the user name (and no HotSync ID yet).
    void putUser(const std::string& name) const;

    // The handheld application's resource database "Quillmar" with one 'tver' resource per text.
    void putApplication(const std::vector<std::string>& versionTexts) const;
    // Appends raw expense records to "Qlmr-Expenses" (creating it), with the given attributes.
    void putExpenses(const std::vector<std::vector<std::uint8_t>>& records, std::uint8_t attributes = 0) const;

    std::vector<LogLine> m_log;  // every line logged while connected

private:
    TempDir m_dir;  // the handheld directory
};

// "01 2C 46" -> {0x01, 0x2C, 0x46}; blanks are ignored.
std::vector<std::uint8_t> hexBytes(const std::string& hex);
// The bytes of a text (without a NUL).
std::vector<std::uint8_t> textBytes(const std::string& text);
// A lookup record: the header's bytes, the text and its NUL.
std::vector<std::uint8_t> recordBytes(const std::string& headerHex, const std::string& text);
