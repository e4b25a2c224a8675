// CQuillmarApp: the desktop program's application object. It owns the one connection (m_db) and
// the current database path (m_strCurrDB) for the whole run, and starts the program in its fixed
// order: the one-copy check, the profile, the document, frame and view, the command line, and
// finally the posted open-database command.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "dbaccess/CADODataBase.h"
#include "platform/settings/RecentFileList.h"
#include "shell/CSingleInstance.h"

class CMainFrame;
class CQuillmarDoc;

class CQuillmarApp {
public:
    static constexpr const char* kClassName = "Qlmr_Quillmar_WNDCLASS";
    static constexpr int kRecentFiles = 4;

    CQuillmarApp();
    ~CQuillmarApp();

    // Starts the program with its own name and at most a database path, as bytes (a path the
    // file system gave need not be UTF-8); false when it must end at once (ExitCode() says how).
    bool InitInstance(const std::vector<std::string>& arguments);
    int ExitCode() const { return m_nExitCode; }

    CQuillmarDoc& Document() { return *m_pDoc; }
    CMainFrame& MainFrame() { return *m_pMainFrame; }

    CSingleInstance m_singleInstance;          // one copy at a time
    std::string m_strCurrDB;                   // the accepted database; empty when none
    CADODataBase m_db;                         // the connection, for the whole run

private:
    settings::RecentFileList m_recentFiles{kRecentFiles};  // File > recent databases
    std::unique_ptr<CQuillmarDoc> m_pDoc;                   // the document
    std::unique_ptr<CMainFrame> m_pMainFrame;               // the window (closed before m_db)
    int m_nExitCode = 0;                                    // status when InitInstance fails
};
