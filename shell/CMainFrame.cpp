// Main window: menus, status bar, title, size rules and channel requests.
#include "shell/CMainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "mainform/CQuillmarView.h"
#include "overview/OverviewWindow.h"
#include "dbaccess/CADODataBase.h"
#include "platform/ipc/DesktopServer.h"
#include "platform/settings/ProfileSettings.h"
#include "platform/settings/RecentFileList.h"
#include "platform/ui/HelpPages.h"
#include "platform/ui/MessageBox.h"
#include "shell/CAboutDlg.h"
#include "shell/HelpWindow.h"
#include "shell/KeyboardIndicators.h"
#include "shell/WindowPlacement.h"

CMainFrame::CMainFrame(CQuillmarDoc& doc, CADODataBase& db, const std::string& strCurrDB,
                       settings::RecentFileList& recentFiles)
    : m_doc(doc), m_db(db), m_strCurrDB(strCurrDB), m_recentFiles(recentFiles)
{
    setObjectName("mainFrame");
    m_pView = new CQuillmarView(db, this);
    setCentralWidget(m_pView);
    BuildMenus();
    BuildStatusBar();
    m_pView->FollowDatabasePath(m_strCurrDB);
    connect(&m_doc, &CQuillmarDoc::UpdateAllViews, m_pView, &CQuillmarView::OnUpdate);
    connect(&m_doc, &CQuillmarDoc::RecentFilesChanged, this, &CMainFrame::RebuildRecentFiles);
    // Stays until the next message or menu prompt replaces it.
    const auto showStatus = [this](const QString& text) { statusBar()->showMessage(text); };
    connect(&m_doc, &CQuillmarDoc::StatusMessage, this, showStatus);
    connect(m_pView, &CQuillmarView::StatusMessage, this, showStatus);
    RebuildRecentFiles();
    UpdateTitle();
    resize(CQuillmarView::kFormSize);  // the form alone; the bars are added next
    RecalcLayout();
}

void CMainFrame::UpdateMinimumSize()
{
    // The designed form and its bars, where the screen has room (a large scale factor may
    // leave less); the frame around the window is the platform's, so some room is left for it.
    const QSize designed = CQuillmarView::kFormSize + QSize(0, TotalBarHeight());
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    const QScreen* screen = this->screen();
    const QSize available = screen ? screen->availableGeometry().size() - frame : QSize();
    setMinimumSize(WindowPlacement::MinimumSize(designed, available));
}

void CMainFrame::RestorePlacement()
{
    const std::optional<WindowPlacement> placement = WindowPlacement::Load();
    if (!placement)
        return;
    m_restored = placement->normal;
    setGeometry(FittedOnScreens(m_restored));
    m_bRestoreMaximized = placement->maximized;
    m_pView->SetInitialTab(placement->tab);
}

QRect CMainFrame::FittedOnScreens(const QRect& saved) const
{
    std::vector<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.push_back(screen->availableGeometry());
    return WindowPlacement::FitOnScreens(saved, screens, minimumSize());
}

void CMainFrame::ShowAsPlaced()
{
    if (m_bRestoreMaximized)
        showMaximized();
    else
        show();
    // Only now is the platform's frame known, and with it the smallest size the screen allows.
    UpdateMinimumSize();
    if (m_restored.isValid() && !m_bRestoreMaximized)
        setGeometry(FittedOnScreens(m_restored));
    else if (!m_restored.isValid())
        resize(size().boundedTo(minimumSize()));  // the designed size, or the screen where that is less
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    WindowPlacement placement;
    placement.normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    placement.maximized = isMaximized();
    placement.tab = m_pView->TabControl()->currentIndex();
    // Only the window's place is lost; the user is not kept from closing for it.
    if (!placement.Save())
        qWarning("Quillmar: the window's place could not be saved in %s",
                 settings::ProfileSettings::FilePath().c_str());
    QMainWindow::closeEvent(event);
}

CMainFrame::~CMainFrame() = default;

OverviewWindow* CMainFrame::Overview() const { return m_pOverview; }

void CMainFrame::OnViewOverview()
{
    if (!m_db.IsOpen())
        return;
    if (!m_pOverview) {
        OverviewWindow::Hooks hooks;
        hooks.selectYearGroup = [this](std::int16_t type, int year) {
            m_pView->SelectGroupOf(type, year);
            raise();
            activateWindow();
        };
        hooks.restateProject = [this](std::int16_t type, std::int32_t project) { m_pView->RestateGroupOf(type, project); };
        m_pOverview = new OverviewWindow(m_db, std::move(hooks), this);
        m_pOverview->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_pOverview->Refresh();
    m_pOverview->show();
    m_pOverview->raise();
    m_pOverview->activateWindow();
}

void CMainFrame::FollowWithOverview()
{
    // Every change of the tree (a command, a HotSync re-open, a lookup editor, a rebuild) reads
    // the overview again once the burst is over; a closed database closes it.
    m_pOverviewFollow = new QTimer(this);
    m_pOverviewFollow->setSingleShot(true);
    m_pOverviewFollow->setInterval(0);
    connect(m_pOverviewFollow, &QTimer::timeout, this, [this] {
        if (!m_pOverview)
            return;
        if (!m_db.IsOpen())
            m_pOverview->close();
        else if (m_pOverview->isVisible())
            m_pOverview->Refresh();
    });
    const auto follow = [this] { m_pOverviewFollow->start(); };
    const QAbstractItemModel* rows = &m_pView->Model();
    // Queued: the tree also changes while the frame is being taken down.
    connect(rows, &QAbstractItemModel::modelReset, this, follow, Qt::QueuedConnection);
    connect(rows, &QAbstractItemModel::rowsInserted, this, follow, Qt::QueuedConnection);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, follow, Qt::QueuedConnection);
    connect(rows, &QAbstractItemModel::dataChanged, this, follow, Qt::QueuedConnection);
    connect(&m_doc, &CQuillmarDoc::UpdateAllViews, this, follow, Qt::QueuedConnection);
}

QAction* CMainFrame::AddCommand(QMenu* menu, Command command, const QString& text, const QString& prompt)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(QString("command%1").arg(command));
    const int newline = prompt.indexOf('\n');
    action->setStatusTip(prompt.left(newline));
    action->setToolTip(newline >= 0 ? prompt.mid(newline + 1) : prompt);
    m_actions[command] = action;
    return action;
}

QAction* CMainFrame::Action(Command command) const
{
    const auto it = m_actions.find(command);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::BuildMenus()
{
    m_fileMenu = menuBar()->addMenu("&File");
    QAction* create = AddCommand(m_fileMenu, ID_FILE_NEW_DATABASE, "&New Database...",
                                 "Create a new, empty expense database.\nNew Database");
    create->setShortcut(QKeySequence::New);
    connect(create, &QAction::triggered, &m_doc, &CQuillmarDoc::CreateNewDatabase);
    QAction* open = AddCommand(m_fileMenu, ID_FILE_OPEN, "&Open Database...", "Open an existing database.\nOpen");
    open->setShortcut(QKeySequence("Ctrl+O"));
    connect(open, &QAction::triggered, &m_doc, &CQuillmarDoc::SelectDatabase);
    connect(AddCommand(m_fileMenu, ID_FILE_BACKUP, "Create &Backup...", "Copy the active database.\nCreate Backup"),
            &QAction::triggered, this, [this] { m_pView->OnFileBackup(m_strCurrDB); });
    connect(AddCommand(m_fileMenu, ID_FILE_EXPORT, "&Export...", "Write Expense data to CSV file.\nExport"),
            &QAction::triggered, m_pView, &CQuillmarView::OnFileExport);
    connect(AddCommand(m_fileMenu, ID_FILE_IMPORT, "&Import...", "Add expenses from a CSV file.\nImport"),
            &QAction::triggered, m_pView, &CQuillmarView::OnFileImport);
    m_fileMenu->addSeparator();
    connect(AddCommand(m_fileMenu, ID_FILE_PRINT_SETUP, "P&rint Setup...",
                       "Change the printer and printing options.\nPrint Setup"),
            &QAction::triggered, this, &CMainFrame::OnPrintSetup);
    QAction* reports = AddCommand(m_fileMenu, ID_FILE_REPORTS, "Re&ports...", "Select and view and/or print reports.\nReports");
    reports->setShortcut(QKeySequence("Ctrl+P"));
    connect(reports, &QAction::triggered, this, [this] {
        UpdateCommandStates();  // a HotSync may have closed the database since the key was armed
        if (Action(ID_FILE_REPORTS)->isEnabled())
            m_pView->OnFileReports();
    });
    m_recentSeparator = m_fileMenu->addSeparator();
    m_fileMenu->addSeparator();
    QAction* exit = AddCommand(m_fileMenu, ID_APP_EXIT, "E&xit", "Close database and quit the application.\nExit");
    exit->setShortcut(QKeySequence("Ctrl+Q"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu("&Edit");
    QAction* find = AddCommand(edit, ID_EDIT_FIND, "&Find...", "Find expenses by their text or amount\nFind");
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, m_pView, &CQuillmarView::OnFind);

    QMenu* configure = menuBar()->addMenu("&Configure");
    connect(AddCommand(configure, ID_CONFIG_ACCOUNTS, "&Accounts...", "Update Accounts information\nConfig Accounts"),
            &QAction::triggered, m_pView, &CQuillmarView::OnConfigAccounts);
    connect(AddCommand(configure, ID_CONFIG_CATEGORIES, "&Categories...", "Update Category information.\nConfig Categories"),
            &QAction::triggered, m_pView, &CQuillmarView::OnConfigCategories);
    connect(AddCommand(configure, ID_CONFIG_PROJECTS, "&Projects...", "Update Project information.\nConfig Projects"),
            &QAction::triggered, m_pView, &CQuillmarView::OnConfigProjects);

    QMenu* view = menuBar()->addMenu("&View");
    QAction* statusBarToggle = AddCommand(view, ID_VIEW_STATUS_BAR, "&Status Bar", "Show or hide the status bar\nToggle StatusBar");
    statusBarToggle->setCheckable(true);
    statusBarToggle->setChecked(true);
    connect(statusBarToggle, &QAction::toggled, this, [this](bool visible) {
        statusBar()->setVisible(visible);
        RecalcLayout();
    });

    QAction* overview = AddCommand(view, ID_VIEW_OVERVIEW, "&Overview...",
                                   "Show the spending by year and type, and what is still owed\nOverview");
    overview->setShortcut(QKeySequence("Ctrl+Shift+O"));
    connect(overview, &QAction::triggered, this, &CMainFrame::OnViewOverview);

    QMenu* help = menuBar()->addMenu("&Help");
    QAction* helpTopics = AddCommand(help, ID_HELP_FINDER, "&Help Topics", "List Help topics\nHelp Topics");
    helpTopics->setShortcut(QKeySequence::HelpContents);
    connect(helpTopics, &QAction::triggered, this, &CMainFrame::OnHelpTopics);
    help->addSeparator();
    connect(AddCommand(help, ID_APP_ABOUT, "&About Quillmar...",
                       "Display program information, version number and copyright.\nAbout"),
            &QAction::triggered, this, [this] { CAboutDlg(this).exec(); });

    for (QMenu* menu : {m_fileMenu, configure})
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
    // The entries follow the database and its rows at once, not only when a menu opens, so that
    // their keys (Ctrl+P) obey the same rules; queued, to see the rows once a command is done.
    connect(&m_doc, &CQuillmarDoc::UpdateAllViews, this, &CMainFrame::UpdateCommandStates, Qt::QueuedConnection);
    const QAbstractItemModel* rows = &m_pView->Model();
    connect(rows, &QAbstractItemModel::modelReset, this, &CMainFrame::UpdateCommandStates, Qt::QueuedConnection);
    connect(rows, &QAbstractItemModel::rowsInserted, this, &CMainFrame::UpdateCommandStates, Qt::QueuedConnection);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &CMainFrame::UpdateCommandStates, Qt::QueuedConnection);
    UpdateCommandStates();
    FollowWithOverview();
}

void CMainFrame::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("statusBar");
    bar->setSizeGripEnabled(false);
    m_readyLabel = new QLabel("Ready", bar);
    bar->addWidget(m_readyLabel, 1);
    const char* const texts[] = {"CAP", "NUM", "SCRL"};
    for (int i = 0; i < 3; ++i) {
        m_indicators[i] = new QLabel(texts[i], bar);
        m_indicators[i]->setObjectName(QString("indicator%1").arg(texts[i]));
        m_indicators[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_indicators[i]->setMinimumWidth(m_indicators[i]->fontMetrics().horizontalAdvance("SCRL") + 8);
        m_indicators[i]->setAlignment(Qt::AlignCenter);
        bar->addPermanentWidget(m_indicators[i]);
    }
    UpdateIndicators();
}

void CMainFrame::UpdateIndicators()
{
    const KeyboardIndicators::State state = KeyboardIndicators::Read();
    const bool on[] = {state.capsLock, state.numLock, state.scrollLock};
    for (int i = 0; i < 3; ++i)  // a pane keeps its size; its text shows only while the lock is on
        m_indicators[i]->setText(on[i] ? QStringList{"CAP", "NUM", "SCRL"}[i] : QString());
}

void CMainFrame::keyPressEvent(QKeyEvent* event)
{
    QMainWindow::keyPressEvent(event);
    UpdateIndicators();
}

void CMainFrame::keyReleaseEvent(QKeyEvent* event)
{
    QMainWindow::keyReleaseEvent(event);
    UpdateIndicators();
}

void CMainFrame::UpdateCommandStates()
{
    const bool open = m_db.IsOpen();
    const bool hasRows = m_pView->Expenses().IsOpen() && m_pView->Expenses().GetRecordCount() > 0;
    for (const Command command : {ID_FILE_BACKUP, ID_FILE_IMPORT, ID_CONFIG_ACCOUNTS, ID_CONFIG_CATEGORIES, ID_CONFIG_PROJECTS})
        Action(command)->setEnabled(open);
    for (const Command command : {ID_FILE_EXPORT, ID_FILE_REPORTS})
        Action(command)->setEnabled(hasRows);
}

void CMainFrame::RebuildRecentFiles()
{
    for (QAction* action : m_recentActions) {
        m_fileMenu->removeAction(action);
        delete action;
    }
    m_recentActions.clear();
    const auto& entries = m_recentFiles.Entries();
    QAction* before = m_fileMenu->actions().at(m_fileMenu->actions().indexOf(m_recentSeparator) + 1);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto* action = new QAction(QString("&%1 %2").arg(i + 1).arg(QString::fromStdString(entries[i])), m_fileMenu);
        action->setObjectName(QString("command%1").arg(ID_FILE_MRU_FIRST + static_cast<int>(i)));
        action->setStatusTip("Open this database");
        const std::string path = entries[i];
        connect(action, &QAction::triggered, this, [this, path, i] {
            if (!m_doc.OnOpenDocument(path)) {
                m_recentFiles.Remove(i);  // an entry that cannot be opened leaves the list
                m_recentFiles.WriteList();
                RebuildRecentFiles();
            }
        });
        m_fileMenu->insertAction(before, action);
        m_recentActions.push_back(action);
    }
    m_recentSeparator->setVisible(!entries.empty());
}

void CMainFrame::UpdateTitle()
{
    setWindowTitle(QString::fromStdString("Quillmar - " + m_strCurrDB));
}

void CMainFrame::PostExit()
{
    QTimer::singleShot(0, this, &QWidget::close);
}

void CMainFrame::ServeRequests(ipc::DesktopServer& server)
{
    server.SetHandler([this, &server](ipc::RequestKind kind, std::int32_t argument, const std::string& path) -> std::int32_t {
        if (kind == ipc::RequestKind::Activate || kind == ipc::RequestKind::OpenDatabase) {
            if (isMinimized())
                showNormal();
            raise();
            activateWindow();
            // Opened once the second copy has its answer, as File > Open would open it.
            if (kind == ipc::RequestKind::OpenDatabase)
                QTimer::singleShot(0, &m_doc, [this, path] { m_doc.OnOpenDocument(path); });
            return 0;
        }
        return m_doc.OnDatabaseRequest(argument, server.RequestingProcess());
    });
}

int CMainFrame::TotalBarHeight() const
{
    return menuBar()->sizeHint().height() + (statusBar()->isHidden() ? 0 : statusBar()->sizeHint().height());
}

void CMainFrame::RecalcLayout()
{
    if (m_bInRecalcLayout || isMinimized() || isMaximized())
        return;
    const int barHeight = TotalBarHeight();
    const int barWidth = 0;  // no docking bars at the sides
    if (barHeight == m_nLastBarHeight && barWidth == m_nLastBarWidth)
        return;
    // Grow or shrink by what the bars gained or lost, so the form keeps its size.
    m_bInRecalcLayout = true;
    const QSize frame = size() + QSize(barWidth - m_nLastBarWidth, barHeight - m_nLastBarHeight);
    UpdateMinimumSize();
    resize(frame);
    m_nLastBarHeight = barHeight;
    m_nLastBarWidth = barWidth;
    m_bInRecalcLayout = false;
}

void CMainFrame::OnPrintSetup()
{
    static QPrinter printer;  // the program's printer settings, kept for the run
    QPageSetupDialog(&printer, this).exec();
}

void CMainFrame::OnHelpTopics()
{
    const QString page = ui::help::LocatePage("index.html");
    if (page.isEmpty()) {
        ui::help::ShowNotInstalled(this);
        return;
    }
    const QUrl home = QUrl::fromLocalFile(page);
    if (!m_pHelp)
        m_pHelp = new HelpWindow(home, this);
    else
        m_pHelp->ShowHome();
    m_pHelp->show();
    m_pHelp->raise();
    m_pHelp->activateWindow();
}
