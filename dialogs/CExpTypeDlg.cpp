// The expense type dialog: range, required fields, the unique number, and the checked store.
#include "dialogs/CExpTypeDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "database/ExpenseSchema.h"
#include "database/LookupTables.h"
#include "dbaccess/CAdoRecordset.h"
#include "dialogs/LookupEditing.h"
#include "platform/ui/DataExchange.h"

using namespace schema::types;
using ui::DataExchange;

namespace {
constexpr long long kFirstUserType = schema::typerange::kFirstUser;
constexpr long long kLastUserType = 999;
}  // namespace

CExpTypeDlg::CExpTypeDlg(QWidget* parent)
    : QDialog(parent),
      m_pReimbursableCheck(new QCheckBox("Is &Reimbursable?", this)),
      m_pTypeEdit(new QLineEdit(this)),
      m_pLabelEdit(new QLineEdit(this)),
      m_pDescEdit(new QLineEdit(this))
{
    setWindowTitle("Expense Type");
    m_pTypeEdit->setObjectName("typeEdit");
    m_pLabelEdit->setObjectName("labelEdit");
    m_pDescEdit->setObjectName("descEdit");
    m_pReimbursableCheck->setObjectName("reimbursableCheck");
    m_pReimbursableCheck->setLayoutDirection(Qt::RightToLeft);  // its text on the left
    m_pTypeEdit->setAlignment(Qt::AlignRight);
    m_pTypeEdit->setMaxLength(3);
    m_pTypeEdit->setMaximumWidth(m_pTypeEdit->fontMetrics().horizontalAdvance("000000"));
    m_pLabelEdit->setMaximumWidth(m_pLabelEdit->fontMetrics().horizontalAdvance("WWWWWW"));
    m_pDescEdit->setMinimumWidth(m_pDescEdit->fontMetrics().horizontalAdvance(QString(kDescriptionChars, 'x')));
    DataExchange::UpperCase(m_pLabelEdit);
    auto* grid = new QGridLayout(this);
    const auto label = [](const char* text, QWidget* buddy) { return LookupEditing::LabelFor(buddy, text); };
    grid->addWidget(label("&Type ID:", m_pTypeEdit), 0, 0);
    grid->addWidget(m_pTypeEdit, 0, 1);
    grid->addWidget(new QLabel("(Sort Order)", this), 0, 2);
    grid->addWidget(label("&Name:", m_pLabelEdit), 1, 0);
    grid->addWidget(m_pLabelEdit, 1, 1);
    grid->addWidget(m_pReimbursableCheck, 1, 2, 1, 2, Qt::AlignRight);
    grid->addWidget(label("&Desc:", m_pDescEdit), 2, 0);
    grid->addWidget(m_pDescEdit, 2, 1, 1, 3);
    LookupEditing::AddSaveCancel(this, grid, 3, [this] { OnSave(); });
    setTabOrder(m_pTypeEdit, m_pLabelEdit);
    setTabOrder(m_pLabelEdit, m_pReimbursableCheck);
    setTabOrder(m_pReimbursableCheck, m_pDescEdit);
}

void CExpTypeDlg::SetRecordsets(CAdoRecordset* pTypes, CAdoRecordset* pCategories)
{
    m_pTypes = pTypes;
    m_pCategories = pCategories;
}

int CExpTypeDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CExpTypeDlg::OnInitDialog()
{
    m_nLoadedType = -1;
    if (m_bEditMode) {
        m_bookmark = m_pTypes->GetBookmark();
        m_nExpType = m_pTypes->GetDF_Short(kExpType);
        m_strExpLabel = m_pTypes->GetDF_Text(kExpLabel);
        m_strExpDesc = m_pTypes->GetDF_Text(kExpDesc);
        m_bReimbursable = m_pTypes->GetDF_Byte(kExpComp) == schema::comp::kReimbursable;
        m_nLoadedType = m_nExpType;
    }
    UpdateData(false);
}

bool CExpTypeDlg::UpdateData(bool bSave)
{
    if (!bSave) {
        DataExchange::LoadInteger(m_pTypeEdit, m_nExpType);
        DataExchange::LoadText(m_pLabelEdit, m_strExpLabel, kLabelChars);
        DataExchange::LoadText(m_pDescEdit, m_strExpDesc, kDescriptionChars);
        m_pReimbursableCheck->setChecked(m_bReimbursable);
        return true;
    }
    long long number = 0;
    if (!DataExchange::SaveInteger(m_pTypeEdit, number, kFirstUserType, kLastUserType) ||
        !DataExchange::SaveText(m_pLabelEdit, m_strExpLabel, kLabelChars) ||
        !DataExchange::SaveText(m_pDescEdit, m_strExpDesc, kDescriptionChars))
        return false;
    m_nExpType = static_cast<std::int32_t>(number);
    m_bReimbursable = m_pReimbursableCheck->isChecked();
    return true;
}

void CExpTypeDlg::OnSave()
{
    if (!UpdateData(true))
        return;
    if (m_strExpLabel.empty()) {
        DataExchange::Refuse(m_pLabelEdit, "Please enter an Expense name.", "Required Field");
        return;
    }
    if (m_strExpDesc.empty()) {
        DataExchange::Refuse(m_pDescEdit, "Please enter an Expense Description.", "Required Field");
        return;
    }
    if (LookupTables::TypeNumberTaken(*m_pTypes, static_cast<std::int16_t>(m_nExpType), LoadedNumber())) {
        DataExchange::Refuse(m_pTypeEdit, "Please enter a unique ExpType.", "Invalid Entry");
        return;
    }
    if (!Store()) {
        m_bStoreFailed = true;
        return;
    }
    accept();
}

std::optional<std::int16_t> CExpTypeDlg::LoadedNumber() const
{
    return m_bEditMode ? std::optional(static_cast<std::int16_t>(m_nLoadedType)) : std::nullopt;
}

bool CExpTypeDlg::Store()
{
    const LookupTables::TypeValues values{static_cast<std::int16_t>(m_nExpType), m_strExpLabel, m_strExpDesc,
                                          m_bReimbursable};
    const auto edit = m_bEditMode ? std::optional(LookupTables::TypeEdit{m_bookmark, *LoadedNumber()}) : std::nullopt;
    LookupTables tables(*m_pTypes->GetDatabase());
    if (tables.StoreType(*m_pTypes, *m_pCategories, values, edit))
        return true;
    LookupEditing::ReportFailure(this, "The expense type could not be saved.", tables.Failure());
    return false;
}
