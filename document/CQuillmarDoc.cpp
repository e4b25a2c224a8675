// Choosing, opening, verifying and re-opening the current database.
#include "document/CQuillmarDoc.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <utility>

#include "document/CDBOpenFileDlg.h"
#include "document/JetConverter.h"
#include "database/CDatabaseCreator.h"
#include "database/ExpenseSchema.h"
#include "database/QlVersion.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/ipc/DesktopChannel.h"
#include "platform/ipc/PeerCheck.h"
#include "platform/jet/JetFile.h"
#include "platform/settings/ProfileSettings.h"
#include "platform/settings/RecentFileList.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"

CQuillmarDoc::CQuillmarDoc(CADODataBase& db, std::string& strCurrDB, settings::RecentFileList& recentFiles)
    : m_db(db), m_strCurrDB(strCurrDB), m_recentFiles(recentFiles), m_pSyncWatch(new QTimer(this))
{
    m_pSyncWatch->setInterval(1000);
    connect(m_pSyncWatch, &QTimer::timeout, this, &CQuillmarDoc::WatchSyncProcess);
}

void CQuillmarDoc::Message(const std::string& text)
{
    ui::MessageBox::Show(m_pFrame ? m_pFrame->Window() : nullptr, QString::fromStdString(text), "Quillmar");
}

std::string CQuillmarDoc::OpenFailureReason(const std::string& strPath) const
{
    // Only a failure of this open counts: the connection keeps older failures after a success.
    const AdoFailure& failure = m_db.LastFailure();
    if (failure.description.empty() || failure.context != CADODataBase::ConnectionString(strPath))
        return {};
    return "\n" + failure.description;
}

void CQuillmarDoc::UpdateTitle()
{
    if (m_pFrame)
        m_pFrame->UpdateTitle();
}

bool CQuillmarDoc::VerifyDatabaseVersion(const std::string& strPath)
{
    switch (QlVersion(m_db).CheckFormat()) {
    case QlVersion::Format::Accepted: return true;
    case QlVersion::Format::Unreadable: Message(strPath + "\nDatabase is corrupt or invalid version."); return false;
    case QlVersion::Format::Refused: Message(strPath + "\nInvalid Database version."); return false;
    }
    return false;
}

bool CQuillmarDoc::OpenDatabase(const std::string& strPath, bool bStoreAsDefault)
{
    switch (jet::KindOfFile(strPath)) {
    case jet::FileKind::Jet3:
    case jet::FileKind::Jet4: return ConvertJetDatabase(strPath, bStoreAsDefault);
    case jet::FileKind::Ace:
        Message(strPath + "\nis an Access 2007 or later (ACE) database. Quillmar converts only Jet 3 and Jet 4 (.mdb) "
                          "files: Access can save it in the 2002-2003 format.");
        return false;
    case jet::FileKind::NotAccess: break;
    }
    if (m_db.IsOpen())
        m_db.Close();
    if (!m_db.OpenCheckingBeside(strPath)) {
        Message("Unable to open: " + strPath + OpenFailureReason(strPath));
        return false;
    }
    if (!VerifyDatabaseVersion(strPath)) {
        m_db.Close();
        return false;
    }
    const std::string previous = m_strCurrDB;
    m_strCurrDB = strPath;
    // The views read the file while its full check runs; the answer comes before the user can
    // do anything with what they show, and a refused file leaves them empty.
    emit UpdateAllViews(UpdateHint::DatabaseOpened);
    if (!m_db.SettleCheck()) {
        m_strCurrDB = previous;
        emit UpdateAllViews(UpdateHint::DatabaseOpened);
        Message("Unable to open: " + strPath + OpenFailureReason(strPath));
        return false;
    }
    UpdateTitle();
    if (bStoreAsDefault)
        settings::ProfileSettings::WriteProfileString(settings::ProfileSettings::kSettingsSection,
                                                      settings::ProfileSettings::kCurrentDatabaseEntry, strPath);
    m_recentFiles.Add(strPath);
    m_recentFiles.WriteList();
    emit RecentFilesChanged();
    return true;
}

bool CQuillmarDoc::ConvertJetDatabase(const std::string& strPath, bool bStoreAsDefault)
{
    QWidget* parent = m_pFrame ? m_pFrame->Window() : nullptr;
    const QString question = QString::fromStdString(strPath) +
                             " is an Access (Jet) database. Quillmar can copy its expenses and lookup tables into a new "
                             "Quillmar database and leave this file unchanged. Convert it?";
    if (ui::MessageBox::Show(parent, question, "Quillmar", ui::MessageBox::Buttons::YesNo, ui::MessageBox::Icon::Question) !=
        ui::MessageBox::Answer::Yes)
        return false;
    const QFileInfo source(QString::fromStdString(strPath));
    ui::FileDialog::Request request;
    request.save = true;
    request.title = "Save the Converted Database";
    request.filter = "Database files (*.mdb)|*.mdb|All Files (*.*)|*.*||";
    request.defaultExtension = "mdb";
    request.initialName = source.dir().filePath(source.completeBaseName() + "-quillmar.mdb");
    request.confirmOverwrite = true;
    const auto chosen = ui::FileDialog::Run(parent, request);
    if (!chosen)
        return false;
    const std::string target = chosen->NativePath();
    if (target == m_strCurrDB || target == strPath) {
        Message(target == m_strCurrDB ? "Cannot over-write current Expense database." : "The converted database needs a name of its own.");
        return false;
    }
    const JetConverter::Outcome outcome = JetConverter::Run(strPath, target, parent);
    if (!outcome.converted) {
        if (!outcome.cancelled)
            Message("The file could not be converted: " + outcome.reason);
        return false;
    }
    Message(outcome.summary);
    return OpenDatabase(target, bStoreAsDefault);
}

bool CQuillmarDoc::ReopenDatabase()
{
    if (m_strCurrDB.empty()) {
        UpdateTitle();
        return false;
    }
    std::string reason;
    if (m_db.Open(m_strCurrDB)) {
        if (VerifyDatabaseVersion(m_strCurrDB)) {
            emit UpdateAllViews(UpdateHint::DatabaseOpened);
            return true;
        }
    } else {
        reason = OpenFailureReason(m_strCurrDB);
    }
    m_db.Close();
    Message("Unable to re-open Quillmar Database." + reason);
    m_strCurrDB.clear();
    UpdateTitle();
    return false;
}

bool CQuillmarDoc::CreateNewDatabase()
{
    QWidget* parent = m_pFrame ? m_pFrame->Window() : nullptr;
    ui::FileDialog::Request request;
    request.save = true;
    request.title = "Create a New Expense Database";
    request.filter = "Database files (*.mdb)|*.mdb|All Files (*.*)|*.*||";
    request.defaultExtension = "mdb";
    request.initialName = "Expenses.mdb";
    request.confirmOverwrite = true;
    const auto chosen = ui::FileDialog::Run(parent, request);
    if (!chosen)
        return false;
    const std::string path = chosen->NativePath();
    if (path == m_strCurrDB) {
        Message("Cannot over-write current Expense database.");
        return false;
    }
    try {
        CDatabaseCreator::CreateEmpty(path, true);  // the dialog asked before replacing a file
    } catch (const std::exception& error) {
        Message("Unable to create: " + path + "\n" + error.what());
        return false;
    }
    return OpenDatabase(path, true);
}

void CQuillmarDoc::SelectDatabase()
{
    if (!m_strCurrDB.empty() && !m_db.IsOpen()) {
        if (OpenDatabase(m_strCurrDB, false))
            return;
        m_strCurrDB.clear();
    }
    // A first start: a new user gets a database without needing the shell.
    if (m_strCurrDB.empty() && !m_db.IsOpen() &&
        ui::MessageBox::Show(m_pFrame ? m_pFrame->Window() : nullptr,
                             "Quillmar has no expense database yet.\n\nDo you want to create a new, empty one? "
                             "Choose No to open an existing database.",
                             "Quillmar", ui::MessageBox::Buttons::YesNo, ui::MessageBox::Icon::Question) ==
            ui::MessageBox::Answer::Yes &&
        CreateNewDatabase())
        return;
    while (true) {
        CDBOpenFileDlg dialog(m_pFrame ? m_pFrame->Window() : nullptr);
        if (!dialog.DoModal())
            break;
        if (OpenDatabase(dialog.GetPathName(), dialog.GetStoreAsDefault()))
            return;
    }
    if (m_strCurrDB.empty() && m_pFrame)
        m_pFrame->PostExit();
    ReopenDatabase();
}

bool CQuillmarDoc::OnOpenDocument(const std::string& strPath)
{
    if (OpenDatabase(strPath, false))
        return true;
    return ReopenDatabase();
}

int CQuillmarDoc::OnDatabaseRequest(int nCode, pid_t nSyncProcess)
{
    if (nCode == ipc::kCloseDatabase) {
        // A second close without a re-open between (a sync that was killed) keeps the first count.
        if (m_db.IsOpen())
            m_nExpensesBeforeSync = CountExpenses();
        m_db.Close(kClosedForHotSync);
        m_nSyncProcess = nSyncProcess;
        if (m_nSyncProcess > 0)
            m_pSyncWatch->start();
    } else if (nCode == ipc::kReopenDatabase) {
        m_pSyncWatch->stop();
        m_nSyncProcess = 0;
        ReopenAfterSync("HotSync");
    }
    return 0;
}

void CQuillmarDoc::WatchSyncProcess()
{
    if (ipc::ProcessRuns(m_nSyncProcess))
        return;
    // The sync ended without asking for the re-open: nobody else will, and whatever it stored is
    // committed or rolled back by now.
    m_pSyncWatch->stop();
    m_nSyncProcess = 0;
    ReopenAfterSync("HotSync stopped before it finished");
}

void CQuillmarDoc::ReopenAfterSync(const QString& head)
{
    // The views read the synced file while its check runs, as at an open.
    const bool opened = m_db.OpenCheckingBeside(m_strCurrDB);
    if (opened)
        emit UpdateAllViews(UpdateHint::DatabaseOpened);
    if (opened && m_db.SettleCheck()) {
        const std::optional<long> before = std::exchange(m_nExpensesBeforeSync, std::nullopt);
        const std::optional<long> after = CountExpenses();
        const long received = before && after ? *after - *before : -1;
        if (received > 0)
            emit StatusMessage(
                QString("%1: %2 %3 received.").arg(head).arg(received).arg(received == 1 ? "expense" : "expenses"));
        else
            emit StatusMessage(head + (received == 0 ? ": nothing new." : ": the database was opened again."));
        return;
    }
    if (m_strCurrDB.empty()) {
        emit UpdateAllViews(UpdateHint::DatabaseOpened);
        return;
    }
    const std::string reason = OpenFailureReason(m_strCurrDB);
    if (m_db.LastFailure().IsDamagedFile()) {
        // A file the sync left damaged must not pass unnoticed. The message waits until the
        // sync has its answer, so a box left open does not hold the sync up.
        const std::string text = "Unable to re-open Quillmar Database." + reason;
        QTimer::singleShot(0, this, [this, text] { Message(text); });
    }
    m_db.Close("The database could not be opened again after the HotSync." + reason);
    emit UpdateAllViews(UpdateHint::DatabaseOpened);
    emit StatusMessage(head + ": the database could not be opened again.");
}

std::optional<long> CQuillmarDoc::CountExpenses()
{
    CAdoRecordset count(&m_db);
    if (!count.OpenQuery("SELECT COUNT(*) AS Rows FROM " + std::string(schema::expenses::kTable)))
        return std::nullopt;
    return count.GetDF_Long("Rows");
}
