// What kind of Access file a path holds, from its first page's header: a Jet 3 (Access 97) or
// Jet 4 (Access 2000-2003) database, an ACE (Access 2007 and later) one, or none of them.
#pragma once

#include <string>

namespace jet {

enum class FileKind { NotAccess, Jet3, Jet4, Ace };

// Reads the header's first 21 bytes; a file that cannot be read or is shorter is NotAccess.
FileKind KindOfFile(const std::string& path);
// "Jet 3", "Jet 4", "ACE"; empty for NotAccess.
const char* KindName(FileKind kind);

}  // namespace jet
