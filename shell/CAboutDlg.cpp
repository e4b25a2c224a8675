// The About box.
#include "shell/CAboutDlg.h"

#include <QApplication>
#include <QStyle>

#include "ui_AboutDlg.h"

CAboutDlg::CAboutDlg(QWidget* parent, VersionResource version)
    : QDialog(parent), m_ui(std::make_unique<Ui::AboutDlg>()), m_boldFont("Arial", 11, QFont::Bold)
{
    m_ui->setupUi(this);
    const auto value = [&version](const char* key) {
        return QString::fromStdString(version.QueryValue(key).value_or(kMissing));
    };
    m_ui->versionLabel->setText("Version " + value("ProductVersion"));
    m_ui->copyrightLabel->setText(value("LegalCopyright"));
    m_ui->productNameLabel->setText(value("ProductName"));
    m_ui->productNameLabel->setFont(m_boldFont);
    m_ui->iconLabel->setPixmap(QApplication::style()->standardIcon(QStyle::SP_FileDialogInfoView).pixmap(32, 32));
    setFixedSize(size());
}

CAboutDlg::~CAboutDlg() = default;
