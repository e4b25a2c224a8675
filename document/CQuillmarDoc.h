// CQuillmarDoc: the document that stands for the current expense database. It decides which
// database is open (the remembered default, a file chosen in the open dialog, a recent file or
// the command line), tests each against its version row before accepting it, closes and
// re-opens it when the handheld sync asks, and tells the views to reload after every open.
// The path and the connection themselves belong to the application (m_strCurrDB, m_db).
#pragma once

#include <QObject>
#include <optional>
#include <string>
#include <sys/types.h>

#include "document/UpdateHint.h"

class CADODataBase;
class QTimer;
class QWidget;
namespace settings {
class RecentFileList;
}

class CQuillmarDoc : public QObject {
    Q_OBJECT
public:
    // What the document needs from the application's frame.
    class Frame {
    public:
        virtual ~Frame() = default;
        virtual void UpdateTitle() = 0;   // title from the current path
        virtual void PostExit() = 0;      // end the program once the current command is done
        virtual QWidget* Window() = 0;    // owner of dialogs and messages
    };

    CQuillmarDoc(CADODataBase& db, std::string& strCurrDB, settings::RecentFileList& recentFiles);
    void SetFrame(Frame* frame) { m_pFrame = frame; }

    void SelectDatabase();
    // Asks where, writes a new, empty expense database there and opens it as the default; false
    // when the user cancels or it cannot be written (the reason is shown).
    bool CreateNewDatabase();
    bool OpenDatabase(const std::string& strPath, bool bStoreAsDefault);
    bool ReopenDatabase();
    bool VerifyDatabaseVersion(const std::string& strPath);
    // Recent files and the command line: open without making it the default, else re-open.
    bool OnOpenDocument(const std::string& strPath);
    // The sync's requests: 10 closes the database, 20 re-opens it and reloads the views (a
    // damaged file is refused and the user told once the sync has its answer). The status bar
    // then says how many expenses the sync added. nSyncProcess: the process that asked; should
    // it end without asking for 20 (a HotSync killed half-way), the database is re-opened then.
    int OnDatabaseRequest(int nCode, pid_t nSyncProcess = 0);

    // Why the database is closed while a HotSync works on it, as dialogs tell the user.
    static constexpr const char* kClosedForHotSync =
        "A HotSync is using the database. Try again when the HotSync has finished.";

signals:
    void UpdateAllViews(UpdateHint hint);
    void RecentFilesChanged();
    void StatusMessage(const QString& text);  // what was just done, for the status bar

private:
    void Message(const std::string& text);
    // An Access (Jet) file: asks, converts it into a new database in a child process and opens that.
    bool ConvertJetDatabase(const std::string& strPath, bool bStoreAsDefault);
    // "\n" and why the last open of strPath failed, or nothing when no reason was recorded.
    std::string OpenFailureReason(const std::string& strPath) const;
    void UpdateTitle();
    // head: how the status bar names the sync ("HotSync").
    void ReopenAfterSync(const QString& head);
    void WatchSyncProcess();
    std::optional<long> CountExpenses();

    CADODataBase& m_db;                         // the application's connection
    std::string& m_strCurrDB;                   // the application's current database path
    settings::RecentFileList& m_recentFiles;    // the application's recent-file list
    Frame* m_pFrame = nullptr;                  // main frame, once it exists
    std::optional<long> m_nExpensesBeforeSync;  // rows when the last sync closed the database
    pid_t m_nSyncProcess = 0;                   // the sync that has the database closed
    QTimer* m_pSyncWatch;                       // looks whether that sync still runs
};
