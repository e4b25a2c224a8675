// CQuillConfigDlg: "Change HotSync Action" as CfgConduit shows it: also the HotSync user's
// current default and next actions.
#pragma once

#include <memory>
#include <string>

#include "conduit/entry/CSyncActionDlg.h"

namespace Ui {
class QuillConfigDlg;
}

class CQuillConfigDlg : public CSyncActionDlg {
    Q_OBJECT
public:
    explicit CQuillConfigDlg(QWidget* parent = nullptr);
    ~CQuillConfigDlg() override;

    std::string m_strUserName;         // the HotSync user
    palm::HotSyncAction m_nextAction = palm::HotSyncAction::Synchronize;     // the action of the next HotSync
    palm::HotSyncAction m_defaultAction = palm::HotSyncAction::Synchronize;  // the default action

protected:
    void OnInitDialog() override;

private:
    std::unique_ptr<Ui::QuillConfigDlg> m_ui;  // the dialog's controls
};
