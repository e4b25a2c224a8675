// The short action dialog.
#include "conduit/entry/CQuillCfgMinDlg.h"

#include "ui_QuillCfgMinDlg.h"

CQuillCfgMinDlg::CQuillCfgMinDlg(QWidget* parent) : CSyncActionDlg(parent), m_ui(std::make_unique<Ui::QuillCfgMinDlg>())
{
    m_ui->setupUi(this);
    QRadioButton* const radios[3] = {m_ui->syncRadio, m_ui->handheldRadio, m_ui->nothingRadio};
    QLabel* const pictures[3] = {m_ui->syncBitmap, m_ui->handheldBitmap, m_ui->nothingBitmap};
    BindControls(radios, pictures, m_ui->setDefaultCheckBox, m_ui->okButton, m_ui->cancelButton, m_ui->helpButton);
}

CQuillCfgMinDlg::~CQuillCfgMinDlg() = default;
