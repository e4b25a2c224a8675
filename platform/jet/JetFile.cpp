// The Access file header: a four-byte magic, the engine's name, then the version byte.
#include "platform/jet/JetFile.h"

#include <array>
#include <cstring>
#include <fstream>

namespace jet {

FileKind KindOfFile(const std::string& path)
{
    std::array<char, 21> header{};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(header.data(), header.size()))
        return FileKind::NotAccess;
    static constexpr char kMagic[4] = {0x00, 0x01, 0x00, 0x00};
    if (std::memcmp(header.data(), kMagic, sizeof kMagic) != 0)
        return FileKind::NotAccess;
    const auto engine = [&header](const char* name) { return std::memcmp(header.data() + 4, name, 16) == 0; };
    if (engine("Standard ACE DB\0"))
        return FileKind::Ace;
    if (!engine("Standard Jet DB\0"))
        return FileKind::NotAccess;
    switch (header[0x14]) {
    case 0: return FileKind::Jet3;
    case 1: return FileKind::Jet4;
    default: return FileKind::Ace;  // a Jet header with a later engine version
    }
}

const char* KindName(FileKind kind)
{
    switch (kind) {
    case FileKind::Jet3: return "Jet 3";
    case FileKind::Jet4: return "Jet 4";
    case FileKind::Ace: return "ACE";
    case FileKind::NotAccess: break;
    }
    return "";
}

}  // namespace jet
