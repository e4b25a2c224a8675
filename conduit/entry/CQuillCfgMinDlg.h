// CQuillCfgMinDlg: "Change HotSync Action" as ConfigureConduit shows it: the action and whether
// it becomes the default.
#pragma once

#include <memory>

#include "conduit/entry/CSyncActionDlg.h"

namespace Ui {
class QuillCfgMinDlg;
}

class CQuillCfgMinDlg : public CSyncActionDlg {
    Q_OBJECT
public:
    explicit CQuillCfgMinDlg(QWidget* parent = nullptr);
    ~CQuillCfgMinDlg() override;

private:
    std::unique_ptr<Ui::QuillCfgMinDlg> m_ui;  // the dialog's controls
};
