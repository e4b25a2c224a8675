// Choosing, opening, verifying and re-opening the current database.
#include "database/CQuillmarDoc.h"

#include <QTimer>

#include "database/CDBOpenFileDlg.h"
#include "database/QlVersion.h"
#include "dbaccess/CADODataBase.h"
#include "platform/ipc/DesktopChannel.h"
#include "platform/settings/ProfileSettings.h"
#include "platform/settings/RecentFileList.h"
#include "platform/ui/MessageBox.h"

CQuillmarDoc::CQuillmarDoc(CADODataBase& db, std::string& strCurrDB, settings::RecentFileList& recentFiles)
    : m_db(db), m_strCurrDB(strCurrDB), m_recentFiles(recentFiles)
{
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
    if (m_db.IsOpen())
        m_db.Close();
    if (!m_db.Open(strPath)) {
        Message("Unable to open: " + strPath + OpenFailureReason(strPath));
        return false;
    }
    if (!VerifyDatabaseVersion(strPath)) {
        m_db.Close();
        return false;
    }
    m_strCurrDB = strPath;
    UpdateTitle();
    if (bStoreAsDefault)
        settings::ProfileSettings::WriteProfileString(settings::ProfileSettings::kSettingsSection,
                                                      settings::ProfileSettings::kCurrentDatabaseEntry, strPath);
    m_recentFiles.Add(strPath);
    m_recentFiles.WriteList();
    emit RecentFilesChanged();
    emit UpdateAllViews(kHintDatabaseOpened);
    return true;
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
            emit UpdateAllViews(kHintDatabaseOpened);
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

void CQuillmarDoc::SelectDatabase()
{
    if (!m_strCurrDB.empty() && !m_db.IsOpen()) {
        if (OpenDatabase(m_strCurrDB, false))
            return;
        m_strCurrDB.clear();
    }
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

int CQuillmarDoc::OnDatabaseRequest(int nCode)
{
    if (nCode == ipc::kCloseDatabase) {
        m_db.Close();
    } else if (nCode == ipc::kReopenDatabase) {
        if (!m_db.Open(m_strCurrDB) && m_db.LastFailure().IsDamagedFile()) {
            // A file the sync left damaged must not pass unnoticed. The message waits until the
            // sync has its answer, so a box left open does not hold the sync up.
            const std::string text = "Unable to re-open Quillmar Database." + OpenFailureReason(m_strCurrDB);
            QTimer::singleShot(0, this, [this, text] { Message(text); });
        }
        emit UpdateAllViews(kHintDatabaseOpened);
    }
    return 0;
}
