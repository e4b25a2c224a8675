// The edit expense dialog: loading the row, the reimbursement controls, and the checked Save.
#include "dialogs/CExpEditDlg.h"

#include "database/ExpenseSchema.h"
#include "dbaccess/CAdoRecordset.h"
#include "dialogs/CCodeDescCombo.h"
#include "platform/ole/FormatAmount.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/MessageBox.h"
#include "ui_ExpEditDlg.h"

using namespace schema;
using expenses::kCheckNumberChars;
using expenses::kDetailChars;
using expenses::kItemChars;
using expenses::kVendorChars;

CExpEditDlg::CExpEditDlg(CADODataBase& db, CAdoRecordset& expenses, CAdoRecordset& statuses,
                         const std::string& strGroupLabel, const std::string& strCategory, QWidget* parent)
    : QDialog(parent),
      m_strGroupLabel(strGroupLabel),
      m_strExpCat(strCategory),
      m_ui(std::make_unique<Ui::ExpEditDlg>()),
      m_db(db),
      m_expenses(expenses),
      m_statuses(statuses)
{
    m_ui->setupUi(this);
    m_ui->accountCombo->SetSorted(true);
    connect(m_ui->reimbursableCheckBox, &QCheckBox::clicked, this, &CExpEditDlg::OnReimbursedClicked);
    connect(m_ui->statusCombo, &QComboBox::currentIndexChanged, this, &CExpEditDlg::OnStatusChanged);
    connect(m_ui->saveButton, &QPushButton::clicked, this, &CExpEditDlg::OnSave);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    OnInitDialog();
}

CExpEditDlg::~CExpEditDlg() = default;

bool CExpEditDlg::UpdateData(bool bSave)
{
    using ui::DataExchange;
    if (!bSave) {
        m_ui->groupEdit->setText(QString::fromStdString(m_strGroupLabel));
        DataExchange::LoadText(m_ui->itemEdit, m_strItem, kItemChars);
        DataExchange::LoadText(m_ui->vendorEdit, m_strVendor, kVendorChars);
        DataExchange::LoadText(m_ui->detailEdit, m_strDetail, kDetailChars);
        DataExchange::LoadText(m_ui->checkNumberEdit, m_strChkNbr, kCheckNumberChars);
        m_ui->amountEdit->setText(QString::fromStdString(m_strAmount));
        m_ui->reimbursableCheckBox->setChecked(m_nReimbursed != 0);
        DataExchange::LoadDateTime(m_ui->datePicker, m_dtDate);
        return true;
    }
    if (!DataExchange::SaveText(m_ui->itemEdit, m_strItem, kItemChars) ||
        !DataExchange::SaveText(m_ui->vendorEdit, m_strVendor, kVendorChars) ||
        !DataExchange::SaveText(m_ui->detailEdit, m_strDetail, kDetailChars) ||
        !DataExchange::SaveText(m_ui->checkNumberEdit, m_strChkNbr, kCheckNumberChars))
        return false;
    m_strAmount = m_ui->amountEdit->text().toStdString();
    m_nReimbursed = m_ui->reimbursableCheckBox->isChecked() ? 1 : 0;
    return DataExchange::SaveDateTime(m_ui->datePicker, m_dtDate, "Exp Date");
}

void CExpEditDlg::OnInitDialog()
{
    m_row = ExpenseRow::Read(m_expenses);
    m_bookmark = m_expenses.IsOpen() ? m_expenses.GetBookmark() : ole::Variant();
    m_nExpType = m_row.m_nExpType;
    m_strItem = m_row.m_strItem;
    m_strVendor = m_row.m_strVendor;
    m_strDetail = m_row.m_strDetail;
    m_strChkNbr = m_row.m_strChkNbr;

    m_ui->accountCombo->FillFromTable(m_db, accounts::kTable, "", accounts::kAcctCode, accounts::kAcctDesc);
    m_ui->accountCombo->SelectPrefix(m_row.m_strAcctCode);

    m_ui->categoryCombo->FillFromTable(m_db, categories::kTable,
                                       std::string(categories::kExpType) + "=" + std::to_string(m_nExpType),
                                       categories::kExpCat, categories::kCatDesc);
    m_strExpCat = m_row.m_strExpCat;
    m_ui->categoryCombo->SelectPrefix(m_strExpCat);

    m_bReimbursableType = m_row.IsReimbursableType();
    m_strAmount = FormatAmount(m_row.m_cyAmount);
    m_dtDate = m_row.m_dtDate;

    const QSignalBlocker quiet(m_ui->statusCombo);  // loading is not a choice of status
    if (m_bReimbursableType) {
        m_ui->reimbursableCheckBox->setEnabled(true);
        if (m_statuses.IsOpen()) {
            for (m_statuses.MoveFirst(); !m_statuses.IsEOF(); m_statuses.MoveNext()) {
                const std::int16_t status = m_statuses.GetDF_Short(statuses::kStatus);
                if (status > billing::kNone)
                    m_ui->statusCombo->AddItem(m_statuses.GetDF_Text(statuses::kStatusCode),
                                               m_statuses.GetDF_Text(statuses::kStatDesc), status);
            }
        }
        m_ui->statusCombo->AdjustWidths();
        m_nReimbursed = m_row.m_bReimburse ? 1 : 0;
        if (m_nReimbursed) {
            m_ui->statusCombo->setEnabled(true);
            m_ui->statusCombo->setCurrentIndex(m_ui->statusCombo->FindValue(m_row.m_nStatus.value_or(billing::kNone)));
            UpdateData(false);
            return;
        }
    } else {
        m_nReimbursed = 0;
        m_ui->reimbursableCheckBox->setEnabled(false);
    }
    m_ui->statusCombo->setCurrentIndex(-1);
    m_ui->statusCombo->setEnabled(false);
    UpdateData(false);
}

void CExpEditDlg::OnReimbursedClicked()
{
    // Only the box is read: a date still being typed is checked on Save, not by this click.
    m_nReimbursed = m_ui->reimbursableCheckBox->isChecked() ? 1 : 0;
    if (!m_bReimbursableType)
        return;
    m_ui->statusCombo->setEnabled(true);
    if (m_nReimbursed) {
        if (m_strStatusCode.empty())
            m_strStatusCode = "IN";
        m_ui->statusCombo->SelectPrefix(m_strStatusCode);
    } else {
        ClearStatusSelection();
    }
}

void CExpEditDlg::ClearStatusSelection()
{
    // Not the user's choice: the status chosen before is kept for when the box is ticked again.
    const QSignalBlocker quiet(m_ui->statusCombo);
    m_ui->statusCombo->setCurrentIndex(-1);
}

void CExpEditDlg::OnStatusChanged()
{
    m_strStatusCode = m_ui->statusCombo->SelectedCode();
}

void CExpEditDlg::OnSave()
{
    const auto refuse = [](QWidget* control, const char* text) {
        ui::DataExchange::Refuse(control, text, "Required field missing.");
    };
    if (!UpdateData(true))
        return;
    if (m_strItem.empty()) {
        refuse(m_ui->itemEdit, "Please enter Item name.");
        return;
    }
    if (m_strDetail.empty()) {
        refuse(m_ui->detailEdit, "Please enter Item description.");
        return;
    }
    const ole::Currency amount = AmountLocale().parseCurrency(m_strAmount);
    if (!amount.isValid() || amount.raw() == 0) {
        refuse(m_ui->amountEdit, "Please enter expense Amount.");
        return;
    }

    // A category or account the lists do not offer keeps the row's own value.
    ExpenseRow changed = m_row;
    const std::string category = m_ui->categoryCombo->SelectedCode();
    if (!category.empty())
        m_strExpCat = category;
    const std::string account = m_ui->accountCombo->SelectedCode();
    changed.m_strItem = m_strItem;
    changed.m_cyAmount = amount;
    changed.m_strDetail = m_strDetail;
    changed.m_strVendor = m_strVendor;
    changed.m_bReimburse = m_bReimbursableType && m_nReimbursed > 0;
    if (m_bReimbursableType)
        changed.m_nStatus = static_cast<std::int16_t>(m_ui->statusCombo->SelectedValue());
    changed.m_dtDate = m_dtDate;
    changed.m_strExpCat = m_strExpCat;
    changed.m_strChkNbr = m_strChkNbr;
    if (!account.empty())
        changed.m_strAcctCode = account;
    m_strStoreFailure = Store(changed);
    if (!m_strStoreFailure.empty()) {
        // Saying nothing would let the user believe the change was kept; what was typed stays.
        ui::MessageBox::Show(this, QString::fromStdString("The expense could not be saved.\n" + m_strStoreFailure), {},
                             ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
        return;
    }
    accept();
}

std::string CExpEditDlg::Store(const ExpenseRow& changed)
{
    if (!m_expenses.IsOpen())
        return m_expenses.ClosedReason();
    if (!m_expenses.SetBookmark(m_bookmark))
        return "The expense is no longer in the database.";
    if (!changed.StoreOver(m_expenses))
        return m_expenses.LastFailure().description;
    return {};
}
