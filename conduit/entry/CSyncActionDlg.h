// CSyncActionDlg: what the two "Change HotSync Action" dialogs share: the three action radio
// buttons with their pictures, the "Set as default" box, the help button, and the one routine
// that moves the radio index and the box's state between the controls and the members.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <string>

#include "platform/palm/HotSyncAction.h"

class QAbstractButton;
class QLabel;
class QRadioButton;

class CSyncActionDlg : public QDialog {
    Q_OBJECT
public:
    // Actions and the radio index that shows each: Synchronize 0, HandheldToDesktop 1, and
    // DoNothing 2, which also shows a number that is no action.
    static int RadioIndexOf(palm::HotSyncAction action);
    static palm::HotSyncAction SyncTypeOf(int nRadioIndex);  // an index out of range: DoNothing
    // The text for an action ("" for a number that is none).
    static std::string SyncTypeText(palm::HotSyncAction action);

    int m_nRadioIndex = 0;      // chosen action: 0 synchronise, 1 handheld to desktop, 2 nothing
    int m_nSetDefault = 0;      // the "Set as default" box

    int exec() override;

protected:
    explicit CSyncActionDlg(QWidget* parent) : QDialog(parent) {}
    // Called by the derived dialog once its controls exist.
    void BindControls(QRadioButton* const radios[3], QLabel* const pictures[3], QAbstractButton* setDefault,
                      QAbstractButton* ok, QAbstractButton* cancel, QAbstractButton* help);
    virtual void OnInitDialog();
    void UpdateData(bool bSave);
    // The label form of a resource text: "&&" shows as one '&'.
    static QString LabelText(const std::string& text);

private:
    QRadioButton* m_radios[3] = {};     // the action group, in index order
    QAbstractButton* m_setDefault = nullptr;
    QLabel* m_pictures[3] = {};         // statics beside the radio buttons
    QPixmap m_bitmaps[3];               // their pictures
};
