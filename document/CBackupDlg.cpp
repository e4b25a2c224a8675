// The backup dialog: proposed name, browse, refusals, the confirmed copy.
#include "document/CBackupDlg.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "database/DatabaseBackup.h"
#include "dbaccess/CADODataBase.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WaitCursor.h"

namespace {

constexpr int kNameChars = 255;

void RefuseOwnFile(QWidget* parent)
{
    ui::MessageBox::Show(parent, "Cannot over-write current Expense database.", "Invalid target filename",
                         ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
}

}  // namespace

CBackupDlg::CBackupDlg(CADODataBase& db, const std::string& strCurrDB, QWidget* parent)
    : QDialog(parent),
      m_db(db),
      m_strCurrDB(strCurrDB),
      m_pNameEdit(new QLineEdit(this)),
      m_pBrowseButton(new QPushButton("...", this)),
      m_pOkButton(new QPushButton("OK", this))
{
    setWindowTitle("Create Backup of Database");
    m_pNameEdit->setObjectName("nameEdit");
    m_pBrowseButton->setObjectName("browseButton");
    m_pOkButton->setObjectName("okButton");
    m_pNameEdit->setMaxLength(kNameChars);
    m_pNameEdit->setMinimumWidth(m_pNameEdit->fontMetrics().horizontalAdvance(QString(40, 'x')));
    m_pBrowseButton->setMaximumWidth(m_pBrowseButton->fontMetrics().horizontalAdvance("......") + 16);
    auto* cancel = new QPushButton("Cancel", this);
    m_pOkButton->setDefault(true);
    auto* label = new QLabel("&Filename of backup:", this);
    label->setBuddy(m_pNameEdit);
    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(m_pNameEdit, 1, 0);
    grid->addWidget(m_pBrowseButton, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pOkButton);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    connect(m_pBrowseButton, &QPushButton::clicked, this, &CBackupDlg::OnBrowse);
    connect(m_pOkButton, &QPushButton::clicked, this, &CBackupDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    OnInitDialog();
}

void CBackupDlg::OnInitDialog()
{
    if (m_strCurrDB.empty()) {
        m_pOkButton->setEnabled(false);
        m_pBrowseButton->setEnabled(false);
        return;
    }
    DatabaseBackup(m_strCurrDB).RemoveLeftovers();
    m_strBackupName = DatabaseBackup(m_strCurrDB).ProposedName();
    m_pNameEdit->setText(QString::fromStdString(m_strBackupName));
}

void CBackupDlg::OnBrowse()
{
    ui::FileDialog::Request request;
    request.save = true;
    request.title = "Select destination for Expense database backup.";
    request.filter = "Database files (*.mdb)|*.mdb|All Files (*.*)|*.*||";
    request.defaultExtension = "mdb";
    request.initialName = QFileInfo(QString::fromStdString(m_strCurrDB)).absolutePath() + "/*.mdb";
    const auto chosen = ui::FileDialog::Run(this, request);
    if (!chosen)
        return;
    if (DatabaseBackup(m_strCurrDB).IsCurrentDatabase(chosen->NativePath())) {
        RefuseOwnFile(this);
        return;
    }
    m_pNameEdit->setText(chosen->path);
    m_browsed = {chosen->path, chosen->NativePath()};
}

void CBackupDlg::OnOK()
{
    // A browsed path keeps the bytes the file system gave, which the edit box may only show.
    m_strBackupName = m_pNameEdit->text() == m_browsed.first ? m_browsed.second : m_pNameEdit->text().toStdString();
    const DatabaseBackup backup(m_strCurrDB);
    const std::string target = backup.Target(m_strBackupName);
    if (m_strBackupName.empty()) {
        ui::MessageBox::Show(this, "Please enter the file name of the backup.", "Required Field");
        m_pNameEdit->setFocus();
        return;
    }
    if (backup.IsCurrentDatabase(target)) {
        RefuseOwnFile(this);
        return;
    }
    if (!m_db.IsOpen()) {
        // Closed while a HotSync works on it (or not opened again after one): nothing to copy yet.
        ui::MessageBox::Show(this, QString::fromStdString("The backup could not be written.\n" + m_db.ClosedReason()), {},
                             ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
        return;
    }
    if (QFileInfo::exists(QString::fromStdString(target)) &&
        ui::MessageBox::Show(this, QString::fromStdString(m_strBackupName) + " already exists.\nDo you want to replace it?",
                             "Confirm Over-write", ui::MessageBox::Buttons::YesNo, ui::MessageBox::Icon::Question,
                             ui::MessageBox::Answer::No) != ui::MessageBox::Answer::Yes)
        return;
    std::string error;
    bool written = false;
    {
        const ui::WaitCursor busy;
        written = backup.Write(m_db, target, error);
    }
    if (written)
        m_strWrittenTo = target;
    else
        ui::MessageBox::Show(this, QString::fromStdString("The backup could not be written to " + target + ".\n" + error),
                             {}, ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
    accept();  // the copy closed and re-opened the connection either way
}
