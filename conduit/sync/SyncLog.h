// SyncLog: the engine's lines for the HotSync log ("--> Quillmar - ..."). While the conduit's
// entry point holds them, during one synchronisation, they wait, so that they come after the
// line that closes the conduit's part ("OK Quillmar" or "FAILED Quillmar") which they explain;
// otherwise, as in the engine's own tests, each goes to the log at once.
#pragma once

#include <string>

class SyncLog {
public:
    static void Line(const std::string& text);
    static void Hold();
    // Writes the lines held, in order, and stops holding.
    static void Release();
};
