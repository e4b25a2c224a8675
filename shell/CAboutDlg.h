// CAboutDlg: "About Quillmar" with the product name in bold, the version and the copyright, read
// from the program's version texts.
#pragma once

#include <QDialog>
#include <QFont>
#include <memory>

#include "shell/VersionResource.h"

namespace Ui {
class AboutDlg;
}

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr, VersionResource version = VersionResource::Compiled());
    ~CAboutDlg() override;

    static constexpr const char* kMissing = "<no version info found>";

private:
    std::unique_ptr<Ui::AboutDlg> m_ui;  // the dialog's controls
    QFont m_boldFont;                    // "Arial Bold", 11 points, for the product name
};
