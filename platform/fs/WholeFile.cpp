// Reading a whole file into memory.
#include "platform/fs/WholeFile.h"

#include <fstream>
#include <vector>

namespace files {

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::vector<char> block(1 << 16);
    while (file.read(block.data(), static_cast<std::streamsize>(block.size())) || file.gcount() > 0)
        bytes.append(block.data(), static_cast<std::size_t>(file.gcount()));
    if (file.bad()) {
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace files
