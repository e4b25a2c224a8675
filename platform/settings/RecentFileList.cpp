// Recent-file list kept in the profile.
#include "platform/settings/RecentFileList.h"

#include <algorithm>

#include "platform/settings/ProfileSettings.h"

namespace settings {

void RecentFileList::ReadList()
{
    m_entries.clear();
    for (int i = 1; i <= m_maxEntries; ++i) {
        const std::string path = ProfileSettings::GetProfileString(kSection, "File" + std::to_string(i));
        if (!path.empty())
            m_entries.push_back(path);
    }
}

void RecentFileList::WriteList() const
{
    for (int i = 1; i <= m_maxEntries; ++i) {
        const auto index = static_cast<std::size_t>(i - 1);
        ProfileSettings::WriteProfileString(kSection, "File" + std::to_string(i),
                                            index < m_entries.size() ? m_entries[index] : std::string());
    }
}

void RecentFileList::Add(const std::string& path)
{
    m_entries.erase(std::remove(m_entries.begin(), m_entries.end(), path), m_entries.end());
    m_entries.insert(m_entries.begin(), path);
    if (m_entries.size() > static_cast<std::size_t>(m_maxEntries))
        m_entries.resize(static_cast<std::size_t>(m_maxEntries));
}

void RecentFileList::Remove(std::size_t index)
{
    if (index < m_entries.size())
        m_entries.erase(m_entries.begin() + static_cast<long>(index));
}

}  // namespace settings
