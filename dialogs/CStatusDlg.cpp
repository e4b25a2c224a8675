// The status dialog.
#include "dialogs/CStatusDlg.h"

#include "database/ExpenseSchema.h"
#include "dbaccess/CAdoRecordset.h"
#include "dialogs/CCodeDescCombo.h"
#include "platform/ui/MessageBox.h"
#include "ui_StatusDlg.h"

CStatusDlg::CStatusDlg(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::StatusDlg>())
{
    m_ui->setupUi(this);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CStatusDlg::OnOK);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

CStatusDlg::~CStatusDlg() = default;

CCodeDescCombo* CStatusDlg::FromCombo() const { return m_ui->fromCombo; }
CCodeDescCombo* CStatusDlg::ToCombo() const { return m_ui->toCombo; }

int CStatusDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CStatusDlg::OnInitDialog()
{
    m_ui->promptLabel->setText(m_ui->promptLabel->text() + (m_bCategory ? "Category ..." : "Project ..."));
    for (CCodeDescCombo* combo : {m_ui->fromCombo, m_ui->toCombo}) {
        combo->clear();
        if (m_pStatuses && m_pStatuses->IsOpen()) {
            for (m_pStatuses->MoveFirst(); !m_pStatuses->IsEOF(); m_pStatuses->MoveNext())
                combo->AddItem(m_pStatuses->GetDF_Text(schema::statuses::kStatusCode),
                               m_pStatuses->GetDF_Text(schema::statuses::kStatDesc),
                               m_pStatuses->GetDF_Short(schema::statuses::kStatus));
        }
        combo->AdjustWidths();
    }
    m_ui->fromCombo->setCurrentIndex(m_ui->fromCombo->count() > 0 ? 0 : -1);
    m_ui->toCombo->setCurrentIndex(m_ui->toCombo->count() > 1 ? 1 : -1);
}

void CStatusDlg::OnOK()
{
    m_nFromStatus = static_cast<std::int16_t>(m_ui->fromCombo->SelectedValue());
    m_nToStatus = static_cast<std::int16_t>(m_ui->toCombo->SelectedValue());
    if (m_nFromStatus == m_nToStatus) {
        ui::MessageBox::Show(this, "Please select different From/To.", "Invalid selection.");
        return;
    }
    // The form's record sets close while a HotSync works on the database; the choice waits.
    if (m_pStatuses && !m_pStatuses->IsOpen()) {
        const std::string why = m_pStatuses->ClosedReason();
        ui::MessageBox::Show(this, QString::fromStdString("The status could not be changed.\n" + why), {},
                             ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
        return;
    }
    accept();
}
