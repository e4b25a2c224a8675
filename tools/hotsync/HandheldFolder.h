// The rule for a handheld folder: a HotSync reads expenses from it into the user's desktop
// database and writes the user's accounts and projects into it, so, like the runtime folder, it
// must be the user's own (after resolving links) and closed to writing by anyone else. Another
// user's folder, or one that others can write, could feed in their expenses or read the lists.
#pragma once

#include <string>
#include <sys/types.h>

class HandheldFolder {
public:
    // Resolves folder's links into resolved; false with a sentence naming the folder and its
    // owner in error when the rule refuses it (or it cannot be examined).
    [[nodiscard]] static bool Vet(const std::string& folder, std::string& resolved, std::string& error);

    // The rule itself, for a folder shown as shown with that owner and mode, for user: empty
    // when it may be used, else why not.
    static std::string Refusal(const std::string& shown, uid_t owner, mode_t mode, uid_t user);
};

