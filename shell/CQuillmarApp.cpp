// Application start-up.
#include "shell/CQuillmarApp.h"

#include <QCoreApplication>
#include <QTimer>

#include "mainform/CQuillmarView.h"
#include "document/CQuillmarDoc.h"
#include "platform/settings/ProfileSettings.h"
#include "shell/CMainFrame.h"

CQuillmarApp::CQuillmarApp() = default;

CQuillmarApp::~CQuillmarApp()
{
    m_pMainFrame.reset();  // the view's record sets close before the connection
    m_pDoc.reset();
}

bool CQuillmarApp::InitInstance(const std::vector<std::string>& arguments)
{
    const std::string file = arguments.size() > 1 ? arguments[1] : std::string();
    if (!m_singleInstance.Check(kClassName, file)) {
        m_nExitCode = m_singleInstance.Failed() ? 1 : 0;
        return false;
    }

    QCoreApplication::setApplicationName(settings::ProfileSettings::kApplication);
    QCoreApplication::setOrganizationName(settings::ProfileSettings::kOrganisation);
    m_strCurrDB = settings::ProfileSettings::GetProfileString(settings::ProfileSettings::kSettingsSection,
                                                              settings::ProfileSettings::kCurrentDatabaseEntry);
    m_recentFiles.ReadList();

    m_pDoc = std::make_unique<CQuillmarDoc>(m_db, m_strCurrDB, m_recentFiles);
    m_pMainFrame = std::make_unique<CMainFrame>(*m_pDoc, m_db, m_strCurrDB, m_recentFiles);
    m_pDoc->SetFrame(m_pMainFrame.get());
    m_pMainFrame->ServeRequests(m_singleInstance.Server());

    if (!file.empty() && !m_pDoc->OnOpenDocument(file)) {
        m_nExitCode = 1;
        return false;
    }

    m_pMainFrame->RestorePlacement();
    m_pMainFrame->ShowAsPlaced();
    m_pMainFrame->View().OnInitialUpdate();
    QTimer::singleShot(0, m_pDoc.get(), &CQuillmarDoc::SelectDatabase);
    return true;
}
