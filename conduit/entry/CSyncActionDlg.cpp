// Shared behaviour of the HotSync action dialogs.
#include "conduit/entry/CSyncActionDlg.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <iterator>

#include "conduit/entry/ShowHotSyncHelp.h"

namespace {

using palm::HotSyncAction;

// The actions in the order of their radio buttons.
constexpr HotSyncAction kRadioActions[] = {HotSyncAction::Synchronize, HotSyncAction::HandheldToDesktop,
                                           HotSyncAction::DoNothing};
constexpr int kDoNothingRadio = 2;

// The three pictures are drawn on light grey, which then takes the button face colour, as a
// bitmap resource would be loaded with that colour mapped.
QPixmap actionPicture(int index, const QColor& face)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::darkBlue, 2));
    if (index == 0) {  // both ways
        painter.drawLine(2, 5, 13, 5);
        painter.drawLine(10, 2, 13, 5);
        painter.drawLine(3, 11, 14, 11);
        painter.drawLine(3, 11, 6, 14);
    } else if (index == 1) {  // one way
        painter.drawLine(2, 8, 13, 8);
        painter.drawLine(10, 5, 13, 8);
        painter.drawLine(10, 11, 13, 8);
    } else {  // nothing
        painter.setPen(QPen(Qt::darkRed, 2));
        painter.drawLine(4, 4, 12, 12);
        painter.drawLine(12, 4, 4, 12);
    }
    painter.end();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(0xC0, 0xC0, 0xC0))
                image.setPixelColor(x, y, face);
    return QPixmap::fromImage(image);
}

}  // namespace

int CSyncActionDlg::RadioIndexOf(HotSyncAction action)
{
    for (int index = 0; index < static_cast<int>(std::size(kRadioActions)); ++index)
        if (kRadioActions[index] == action)
            return index;
    return kDoNothingRadio;  // a number that is no action
}

HotSyncAction CSyncActionDlg::SyncTypeOf(int nRadioIndex)
{
    return kRadioActions[nRadioIndex >= 0 && nRadioIndex <= kDoNothingRadio ? nRadioIndex : kDoNothingRadio];
}

std::string CSyncActionDlg::SyncTypeText(HotSyncAction action)
{
    switch (action) {
    case HotSyncAction::Synchronize: return "Synchronize the PC && Handheld.";
    case HotSyncAction::HandheldToDesktop: return "Handheld writes to Desktop.";
    case HotSyncAction::DoNothing: return "Do Nothing";
    }
    return {};  // a number that is no action
}

QString CSyncActionDlg::LabelText(const std::string& text)
{
    return QString::fromStdString(text).replace("&&", "&");
}

void CSyncActionDlg::BindControls(QRadioButton* const radios[3], QLabel* const pictures[3], QAbstractButton* setDefault,
                                  QAbstractButton* ok, QAbstractButton* cancel, QAbstractButton* help)
{
    for (int i = 0; i < 3; ++i) {
        m_radios[i] = radios[i];
        m_pictures[i] = pictures[i];
    }
    m_setDefault = setDefault;
    connect(ok, &QAbstractButton::clicked, this, [this] {
        UpdateData(true);
        accept();
    });
    connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(help, &QAbstractButton::clicked, this, [this] { ShowHotSyncHelp(this); });
}

void CSyncActionDlg::UpdateData(bool bSave)
{
    if (bSave) {
        for (int i = 0; i < 3; ++i)
            if (m_radios[i]->isChecked())
                m_nRadioIndex = i;
        m_nSetDefault = m_setDefault->isChecked() ? 1 : 0;
        return;
    }
    m_radios[m_nRadioIndex >= 0 && m_nRadioIndex <= 2 ? m_nRadioIndex : 2]->setChecked(true);
    m_setDefault->setChecked(m_nSetDefault != 0);
}

void CSyncActionDlg::OnInitDialog()
{
    const QColor face = palette().color(QPalette::Button);
    for (int i = 0; i < 3; ++i) {
        m_bitmaps[i] = actionPicture(i, face);
        m_pictures[i]->setPixmap(m_bitmaps[i]);
    }
    UpdateData(false);
}

int CSyncActionDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}
