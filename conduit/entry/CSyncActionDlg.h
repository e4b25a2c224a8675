// CSyncActionDlg: what the two "Change HotSync Action" dialogs share: the three action radio
// buttons with their pictures, the "Set as default" box, the help button, and the one routine
// that moves the radio index and the box's state between the controls and the members.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <string>

class QAbstractButton;
class QLabel;
class QRadioButton;

class CSyncActionDlg : public QDialog {
    Q_OBJECT
public:
    // Sync types and the radio index that shows each.
    static int RadioIndexOf(std::int32_t nSyncType);     // 0 -> 0, 2 -> 1, anything else -> 2
    [[nodiscard]] static std::int32_t SyncTypeOf(int nRadioIndex);     // 0 -> 0, 1 -> 2, 2 -> 6
    // The text for a sync type ("" for one the conduit does not know).
    static std::string SyncTypeText(std::int32_t nSyncType);

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
