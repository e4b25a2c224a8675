// CMainFrame: the program's main window with its menus, status bar (message pane and the CAP /
// NUM / SCRL indicators) and title "Quillmar - " + the current database. It starts at the form's
// designed size, which is also its smallest where the screen has room; it can be resized and
// maximised, grows and shrinks with the status bar so the form keeps its size, comes back where
// it was at the last close, and answers the requests that reach the program on its channel.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <map>

#include "document/CQuillmarDoc.h"

class CADODataBase;
class CQuillmarView;
class HelpWindow;
class OverviewWindow;
class QTimer;
class QAction;
class QLabel;
class QMenu;
namespace settings {
class RecentFileList;
}
namespace ipc {
class DesktopServer;
}

class CMainFrame : public QMainWindow, public CQuillmarDoc::Frame {
    Q_OBJECT
public:
    // Command numbers of the menu entries.
    enum Command : int {
        ID_FILE_NEW_DATABASE = 57600,
        ID_FILE_OPEN = 57601,
        ID_FILE_BACKUP = 57603,
        ID_FILE_EXPORT = 32771,
        ID_FILE_IMPORT = 32777,
        ID_FILE_PRINT_SETUP = 57606,
        ID_FILE_REPORTS = 32772,
        ID_FILE_MRU_FIRST = 57616,
        ID_APP_EXIT = 57665,
        ID_CONFIG_ACCOUNTS = 32775,
        ID_CONFIG_CATEGORIES = 32774,
        ID_CONFIG_PROJECTS = 32773,
        ID_VIEW_STATUS_BAR = 59393,
        ID_EDIT_FIND = 57636,
        ID_VIEW_OVERVIEW = 32776,
        ID_HELP_FINDER = 57667,
        ID_APP_ABOUT = 57664,
    };

    CMainFrame(CQuillmarDoc& doc, CADODataBase& db, const std::string& strCurrDB, settings::RecentFileList& recentFiles);
    ~CMainFrame() override;

    CQuillmarView& View() { return *m_pView; }
    // View > Overview...: opens (or brings up) the overview window; null until it is opened.
    void OnViewOverview();
    OverviewWindow* Overview() const;
    QAction* Action(Command command) const;
    void ServeRequests(ipc::DesktopServer& server);

    // CQuillmarDoc::Frame
    void UpdateTitle() override;
    void PostExit() override;
    QWidget* Window() override { return this; }

    void RecalcLayout();
    // Before the first show: the size, place and tab of the last close, fitted onto the screens.
    void RestorePlacement();
    // Shows the window, maximised when it was at the last close.
    void ShowAsPlaced();
    void UpdateCommandStates();
    void UpdateIndicators();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QAction* AddCommand(QMenu* menu, Command command, const QString& text, const QString& prompt);
    void BuildMenus();
    void BuildStatusBar();
    void RebuildRecentFiles();
    void OnPrintSetup();
    void OnHelpTopics();
    int TotalBarHeight() const;
    void UpdateMinimumSize();
    QRect FittedOnScreens(const QRect& saved) const;

    CQuillmarDoc& m_doc;                            // the document
    CADODataBase& m_db;                             // the application's connection
    const std::string& m_strCurrDB;                 // the current database path
    settings::RecentFileList& m_recentFiles;        // the recent-file list
    CQuillmarView* m_pView = nullptr;               // the form (central widget)
    std::map<int, QAction*> m_actions;              // menu entries by command number
    QMenu* m_fileMenu = nullptr;                    // holds the recent-file entries
    QAction* m_recentSeparator = nullptr;           // before the recent-file entries
    std::vector<QAction*> m_recentActions;          // one per recent file
    QLabel* m_readyLabel = nullptr;                 // the idle text of the message pane
    QLabel* m_indicators[3] = {};                   // CAP, NUM, SCRL
    int m_nLastBarHeight = 0;                       // status and dock bar heights last laid out
    int m_nLastBarWidth = 0;                        // dock bar widths last laid out
    bool m_bInRecalcLayout = false;                 // re-entry guard
    bool m_bRestoreMaximized = false;               // maximised at the last close
    QRect m_restored;                               // the place of the last close, as saved
    QPointer<HelpWindow> m_pHelp;                   // the user guide, once opened
    QPointer<OverviewWindow> m_pOverview;           // View > Overview..., once opened
    QTimer* m_pOverviewFollow = nullptr;            // one re-read after a burst of tree changes
    void FollowWithOverview();
};
