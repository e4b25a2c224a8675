// The help window.
#include "shell/HelpWindow.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const QUrl& home, QWidget* parent)
    : QWidget(parent, Qt::Window), m_home(home), m_pBrowser(new QTextBrowser(this))
{
    setObjectName("helpWindow");
    setWindowTitle("Quillmar Help");
    m_pBrowser->setObjectName("helpBrowser");
    m_pBrowser->setOpenLinks(true);
    m_pBrowser->setOpenExternalLinks(true);  // http(s) and mailto links go to the desktop

    auto* back = new QPushButton("< &Back", this);
    auto* forward = new QPushButton("&Forward >", this);
    auto* homeButton = new QPushButton("&Home", this);
    back->setObjectName("backButton");
    forward->setObjectName("forwardButton");
    homeButton->setObjectName("homeButton");
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, m_pBrowser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_pBrowser, &QTextBrowser::forward);
    connect(homeButton, &QPushButton::clicked, this, &HelpWindow::ShowHome);
    connect(m_pBrowser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_pBrowser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(homeButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_pBrowser);
    resize(760, 640);
    ShowHome();
}

void HelpWindow::ShowHome() { m_pBrowser->setSource(m_home); }
