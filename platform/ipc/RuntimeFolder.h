// The private folder that holds the single-instance lock file and the desktop channel's socket:
// $XDG_RUNTIME_DIR when it is set, otherwise "quillmar-<uid>" in the temporary folder, created
// with mode 0700. A folder that belongs to another user or that other users can enter is refused,
// never replaced by a shared one: another user's stale lock there would stop Quillmar, and their
// listener would receive the sync's requests.
#pragma once

#include <string>

namespace ipc {

class RuntimeFolder {
public:
    // The folder to use; false with a sentence saying why in error when there is no folder that
    // only this user can use. create: make it when missing (the program that serves the channel);
    // a client only looks, since without the folder no program can be serving.
    [[nodiscard]] static bool Locate(std::string& folder, std::string& error, bool create);

    // True when folder is a folder of this user that no other user can enter, read or write.
    // followLink: a symbolic link to such a folder is accepted too (one the user named).
    [[nodiscard]] static bool IsPrivate(const std::string& folder, bool followLink, std::string& error);

private:
    // With create, makes folder with mode 0700 unless it exists; without, only looks. False with
    // why in error when it is missing after that.
    [[nodiscard]] static bool MakeOrFind(const std::string& folder, bool create, std::string& error);
};

}  // namespace ipc
