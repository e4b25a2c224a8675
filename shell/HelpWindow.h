// HelpWindow: the program's own window for the user guide, "Quillmar Help". It shows the guide's
// pages (links between them, images and the style sheet work), has Back, Forward and Home (the
// contents page), and sends links to the web to the desktop's browser. It is not modal.
#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // home: the guide's contents page (a local file).
    explicit HelpWindow(const QUrl& home, QWidget* parent = nullptr);

    void ShowHome();
    QTextBrowser* Browser() const { return m_pBrowser; }

private:
    QUrl m_home;
    QTextBrowser* m_pBrowser;
};
