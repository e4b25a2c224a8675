// The new expense dialog: filling the lists, following the type, and checking a Save.
#include "dialogs/CExpenseDlg.h"

#include "database/ExpenseSchema.h"
#include "dbaccess/CAdoRecordset.h"
#include "dialogs/CCodeDescCombo.h"
#include "platform/ole/FormatAmount.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/MessageBox.h"
#include "ui_ExpenseDlg.h"

using namespace schema;
using expenses::kCheckNumberChars;
using expenses::kDetailChars;
using expenses::kItemChars;
using expenses::kVendorChars;

CExpenseDlg::CExpenseDlg(CADODataBase& db, QWidget* parent)
    : QDialog(parent), m_dtDate(ole::DateTime::currentLocal()), m_ui(std::make_unique<Ui::ExpenseDlg>()), m_db(db)
{
    m_ui->setupUi(this);
    m_ui->accountCombo->SetSorted(true);
    connect(m_ui->typeCombo, &QComboBox::currentIndexChanged, this, &CExpenseDlg::OnTypeChanged);
    connect(m_ui->saveButton, &QPushButton::clicked, this, &CExpenseDlg::OnSave);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    OnInitDialog();
}

CExpenseDlg::~CExpenseDlg() = default;

CCodeDescCombo* CExpenseDlg::TypeCombo() const { return m_ui->typeCombo; }
CCodeDescCombo* CExpenseDlg::CategoryCombo() const { return m_ui->categoryCombo; }
CCodeDescCombo* CExpenseDlg::AccountCombo() const { return m_ui->accountCombo; }

bool CExpenseDlg::UpdateData(bool bSave)
{
    using ui::DataExchange;
    if (!bSave) {
        DataExchange::LoadText(m_ui->itemEdit, m_strItem, kItemChars);
        DataExchange::LoadCurrency(m_ui->amountEdit, m_cyAmount, AmountLocale());
        DataExchange::LoadText(m_ui->vendorEdit, m_strVendor, kVendorChars);
        DataExchange::LoadText(m_ui->checkNumberEdit, m_strChkNbr, kCheckNumberChars);
        DataExchange::LoadText(m_ui->detailEdit, m_strDetail, kDetailChars);
        m_ui->reimbursableCheckBox->setChecked(m_nReimbursable != 0);
        DataExchange::LoadDateTime(m_ui->datePicker, m_dtDate);
        return true;
    }
    if (!DataExchange::SaveText(m_ui->itemEdit, m_strItem, kItemChars) ||
        !DataExchange::SaveCurrency(m_ui->amountEdit, m_cyAmount, AmountLocale()) ||
        !DataExchange::SaveText(m_ui->vendorEdit, m_strVendor, kVendorChars) ||
        !DataExchange::SaveText(m_ui->checkNumberEdit, m_strChkNbr, kCheckNumberChars) ||
        !DataExchange::SaveText(m_ui->detailEdit, m_strDetail, kDetailChars))
        return false;
    m_nReimbursable = m_ui->reimbursableCheckBox->isChecked() ? 1 : 0;
    return DataExchange::SaveDateTime(m_ui->datePicker, m_dtDate, "Date");
}

void CExpenseDlg::OnInitDialog()
{
    {
        const QSignalBlocker quiet(m_ui->typeCombo);  // filling is not a choice of type
        m_ui->typeCombo->FillFromTable(m_db, types::kTable, "", types::kExpLabel, types::kExpDesc, types::kExpType,
                                       types::kExpType);
        m_ui->typeCombo->setCurrentIndex(m_ui->typeCombo->count() > 0 ? 0 : -1);
    }
    FillCategories(typerange::kTax);
    m_ui->accountCombo->FillFromTable(m_db, accounts::kTable, "", accounts::kAcctCode, accounts::kAcctDesc);
    UpdateData(false);
}

void CExpenseDlg::FillCategories(int nExpType)
{
    CCodeDescCombo* combo = m_ui->categoryCombo;
    combo->FillFromTable(m_db, categories::kTable, std::string(categories::kExpType) + "=" + std::to_string(nExpType),
                         categories::kExpCat, categories::kCatDesc);
    combo->setCurrentIndex(combo->count() == 1 ? 0 : -1);
}

void CExpenseDlg::SetReimbursable(bool bChecked, bool bEnabled)
{
    m_ui->reimbursableCheckBox->setChecked(bChecked);
    m_ui->reimbursableCheckBox->setEnabled(bEnabled);
}

void CExpenseDlg::OnTypeChanged()
{
    const int index = m_ui->typeCombo->currentIndex();
    if (index < 0)
        return;
    const int type = m_ui->typeCombo->ValueOfItem(index);
    FillCategories(type);
    if (typerange::IsSystem(type)) {
        m_nTypeComp = comp::kSystem;
        m_nReimbursable = 0;
        SetReimbursable(false, false);
        if (type == typerange::kEstimatedTax) {
            FillTaxYears();
        } else {
            m_ui->projectCombo->setCurrentIndex(-1);
            m_ui->projectCombo->setEnabled(false);
        }
        return;
    }
    m_ui->reimbursableCheckBox->setEnabled(true);
    m_ui->projectLabel->setText("&Project:");
    CAdoRecordset typeRow(&m_db);
    typeRow.m_strFilter = std::string(types::kExpType) + "=" + std::to_string(type);
    if (typeRow.OpenTable(types::kTable)) {
        if (!typeRow.IsBOF())
            m_nTypeComp = typeRow.GetDF_Byte(types::kExpComp);  // a missing type keeps the previous composition
        typeRow.Close();
    }
    if (m_nTypeComp == comp::kReimbursable) {
        SetReimbursable(true, true);
        FillProjects();
    } else {
        SetReimbursable(false, false);
        m_ui->projectCombo->setEnabled(true);
        FillTaxYears();
    }
}

void CExpenseDlg::FillTaxYears()
{
    QComboBox* list = m_ui->projectCombo;
    list->setEnabled(true);
    list->clear();
    m_ui->projectLabel->setText("Tax &Year:");
    const int year = m_dtDate.year();
    list->addItem(QString::number(year - 1), year - 1);
    list->addItem(QString::number(year), year);
    list->setCurrentIndex(1);
}

void CExpenseDlg::FillProjects()
{
    QComboBox* list = m_ui->projectCombo;
    list->clear();
    CAdoRecordset active(&m_db);
    active.m_strFilter = projects::kActiveFilter;
    if (active.OpenTable(projects::kTable)) {
        if (!active.IsBOF()) {
            list->setEnabled(true);
            for (active.MoveFirst(); !active.IsEOF(); active.MoveNext()) {
                const QString name = QString::fromStdString(active.GetDF_Text(projects::kProjectName));
                int at = 0;  // the list is sorted by name
                while (at < list->count() && list->itemText(at).compare(name, Qt::CaseInsensitive) <= 0)
                    ++at;
                list->insertItem(at, name, active.GetDF_Long(projects::kProjectID));
            }
        }
        active.Close();
    }
    list->setCurrentIndex(-1);
}

bool CExpenseDlg::Refuse(QWidget* control, const char* text, const char* caption)
{
    ui::DataExchange::Refuse(control, text, caption);
    return false;
}

void CExpenseDlg::OnSave()
{
    if (!UpdateData(true))
        return;
    if (m_ui->typeCombo->currentIndex() < 0) {
        const QSignalBlocker quiet(m_ui->typeCombo);  // the other lists are not filled again
        m_ui->typeCombo->setCurrentIndex(m_ui->typeCombo->count() > 0 ? 0 : -1);
        Refuse(m_ui->typeCombo, "Please select Expense Type.", "Required field invalid/missing.");
        return;
    }
    m_nExpType = static_cast<std::int16_t>(m_ui->typeCombo->SelectedValue());
    if (m_nTypeComp == comp::kReimbursable) {
        if (m_ui->projectCombo->currentIndex() < 0) {
            Refuse(m_ui->projectCombo, "Please select Project.");
            return;
        }
        m_lProjectID = m_ui->projectCombo->currentData().toInt();
    } else {
        m_lProjectID = m_dtDate.year();  // the tax-year list only offers a choice
    }
    m_strExpCat = m_ui->categoryCombo->SelectedCode();
    if (m_strExpCat.empty()) {
        Refuse(m_ui->categoryCombo, "Please select Category.");
        return;
    }
    m_strAcctCode = m_ui->accountCombo->SelectedCode();
    if (m_strAcctCode.empty()) {
        Refuse(m_ui->accountCombo, "Please select How Paid (Account).");
        return;
    }
    if (m_strItem.empty()) {
        Refuse(m_ui->itemEdit, "Please enter expense Item.");
        return;
    }
    if (m_strDetail.empty()) {
        Refuse(m_ui->detailEdit, "Please enter Detail for item.");
        return;
    }
    if (!m_cyAmount.isValid() || m_cyAmount.raw() == 0) {
        Refuse(m_ui->amountEdit, "Please enter expense Amount.");
        return;
    }
    if (std::string why; m_store && !m_store(Row(), why)) {
        ui::MessageBox::Show(this, QString::fromStdString("The expense could not be saved.\n" + why), {},
                             ui::MessageBox::Buttons::Ok, ui::MessageBox::Icon::Stop);
        return;  // everything typed stays for another Save
    }
    accept();
}

ExpenseRow CExpenseDlg::Row() const
{
    ExpenseRow row;
    row.m_dtDate = m_dtDate;
    row.m_strItem = m_strItem;
    row.m_nExpType = m_nExpType;
    row.m_strExpCat = m_strExpCat;
    row.m_nTypeComp = m_nTypeComp;
    row.m_bReimburse = m_nReimbursable > 0;
    row.m_nStatus = m_nReimbursable > 0 ? billing::kIncurred : billing::kNone;
    row.m_lProjectID = m_lProjectID;
    row.m_cyAmount = m_cyAmount;
    row.m_strDetail = m_strDetail;
    row.m_strVendor = m_strVendor;
    row.m_strChkNbr = m_strChkNbr;
    row.m_strAcctCode = m_strAcctCode;
    return row;
}
