// Reading a folder without exceptions.
#include "platform/fs/FolderListing.h"

#include <filesystem>
#include <system_error>

namespace files {

bool ListRegularFiles(const std::string& folder, std::vector<std::string>& names, std::string& error)
{
    names.clear();
    std::error_code ec;
    // Every step takes the error code: the range-for's increment would throw instead.
    std::filesystem::directory_iterator entry(folder, ec);
    for (; !ec && entry != std::filesystem::directory_iterator(); entry.increment(ec)) {
        std::error_code kind;
        if (entry->is_regular_file(kind))
            names.push_back(entry->path().filename().string());
    }
    if (!ec)
        return true;
    error = "cannot read the folder '" + folder + "': " + ec.message();
    names.clear();
    return false;
}

}  // namespace files
