// The full action dialog.
#include "conduit/entry/CQuillConfigDlg.h"

#include "ui_QuillConfigDlg.h"

CQuillConfigDlg::CQuillConfigDlg(QWidget* parent) : CSyncActionDlg(parent), m_ui(std::make_unique<Ui::QuillConfigDlg>())
{
    m_ui->setupUi(this);
    QRadioButton* const radios[3] = {m_ui->syncRadio, m_ui->handheldRadio, m_ui->nothingRadio};
    QLabel* const pictures[3] = {m_ui->syncBitmap, m_ui->handheldBitmap, m_ui->nothingBitmap};
    BindControls(radios, pictures, m_ui->setDefaultCheckBox, m_ui->okButton, m_ui->cancelButton, m_ui->helpButton);
}

CQuillConfigDlg::~CQuillConfigDlg() = default;

void CQuillConfigDlg::OnInitDialog()
{
    CSyncActionDlg::OnInitDialog();
    // A group box reads "&" as a mnemonic: a name such as "Ann & Bo" is shown as typed.
    const QString name = QString::fromStdString(m_strUserName).replace("&", "&&");
    m_ui->settingsGroupBox->setTitle(name + "'s Current Settings:");
    m_ui->nextActionText->setText(LabelText(SyncTypeText(m_nextAction)));
    m_ui->defaultActionText->setText(LabelText(SyncTypeText(m_defaultAction)));
}
