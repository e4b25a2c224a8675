// The recent-file list: the most recently opened databases first, kept in the profile section
// "Recent File List" as File1 .. FileN.
#pragma once

#include <string>
#include <vector>

namespace settings {

class RecentFileList {
public:
    static constexpr const char* kSection = "Recent File List";

    explicit RecentFileList(int maxEntries) : m_maxEntries(maxEntries) {}

    void ReadList();
    void WriteList() const;

    // Moves (or puts) path to the front; the oldest entry falls off the end.
    void Add(const std::string& path);
    void Remove(std::size_t index);

    const std::vector<std::string>& Entries() const { return m_entries; }
    int MaxEntries() const { return m_maxEntries; }

private:
    int m_maxEntries;                     // how many entries are kept
    std::vector<std::string> m_entries;   // newest first
};

}  // namespace settings
