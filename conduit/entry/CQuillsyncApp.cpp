// Library start-up and shut-down.
#include "conduit/entry/CQuillsyncApp.h"

#include "platform/palm/PalmCmn.h"

std::int32_t CQuillsyncApp::s_nUseCount = 0;
void* CQuillsyncApp::s_hInstance = nullptr;
std::uint32_t CQuillsyncApp::s_dwKept = 0;

void CQuillsyncApp::InitInstance()
{
    if (s_nUseCount == 0) {
        s_hInstance = reinterpret_cast<void*>(&CQuillsyncApp::InitInstance);
        std::uint32_t users = 0;
        s_dwKept = PalmCmnSetUp(kModuleName, s_hInstance, &users);
    }
    ++s_nUseCount;
}

void CQuillsyncApp::ExitInstance()
{
    if (--s_nUseCount == 0) {
        PalmCmnCleanUp(s_dwKept, s_hInstance);
        s_dwKept = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(s_hInstance));
    }
}

// The loader runs these when the library is loaded and unloaded.
__attribute__((constructor)) static void QuillsyncLoaded() { CQuillsyncApp::InitInstance(); }
__attribute__((destructor)) static void QuillsyncUnloaded() { CQuillsyncApp::ExitInstance(); }
