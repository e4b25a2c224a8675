// CQuillsyncApp: the conduit library's application object, one per loaded library. Loading it
// sets up the Palm common library (once, however often the library is loaded); unloading the
// last use cleans it up again.
#pragma once

#include <cstdint>

class CQuillsyncApp {
public:
    static constexpr const char* kModuleName = "libQuillsync.so";

    static void InitInstance();
    static void ExitInstance();

    [[nodiscard]] static std::int32_t UseCount() { return s_nUseCount; }

private:
    static std::int32_t s_nUseCount;   // loads not yet unloaded
    static void* s_hInstance;          // identifies this module
    static std::uint32_t s_dwKept;     // PalmCmn's set-up value, handed back at clean-up
};
