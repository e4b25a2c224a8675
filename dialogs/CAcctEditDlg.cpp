// The account entry dialog: required fields, the duplicate test and the checked store.
#include "dialogs/CAcctEditDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "database/ExpenseSchema.h"
#include "database/LookupTables.h"
#include "dbaccess/CAdoRecordset.h"
#include "dialogs/LookupEditing.h"
#include "platform/ui/DataExchange.h"

using namespace schema::accounts;
using ui::DataExchange;

CAcctEditDlg::CAcctEditDlg(QWidget* parent)
    : QDialog(parent), m_pCodeEdit(new QLineEdit(this)), m_pDescEdit(new QLineEdit(this))
{
    setWindowTitle("How Paid");
    m_pCodeEdit->setObjectName("codeEdit");
    m_pDescEdit->setObjectName("descEdit");
    m_pDescEdit->setMinimumWidth(m_pDescEdit->fontMetrics().horizontalAdvance(QString(kDescriptionChars, 'x')));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("saveButton");
    // The same texts on every desktop: some themes give them mnemonics that would clash with Code's.
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
    auto* form = new QFormLayout(this);
    form->addRow("&Code:", m_pCodeEdit);
    form->addRow("&Description:", m_pDescEdit);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAcctEditDlg::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int CAcctEditDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CAcctEditDlg::OnInitDialog()
{
    m_strPrevCode.clear();
    if (m_bEditMode && m_pRecordset) {
        m_bookmark = m_pRecordset->GetBookmark();
        m_strCode = m_pRecordset->GetDF_Text(kAcctCode);
        m_strDesc = m_pRecordset->GetDF_Text(kAcctDesc);
        m_strPrevCode = m_strCode;
    }
    DataExchange::LoadText(m_pCodeEdit, m_strCode, kCodeChars);
    DataExchange::LoadText(m_pDescEdit, m_strDesc, kDescriptionChars);
}

void CAcctEditDlg::OnOK()
{
    if (!DataExchange::SaveText(m_pCodeEdit, m_strCode, kCodeChars) ||
        !DataExchange::SaveText(m_pDescEdit, m_strDesc, kDescriptionChars))
        return;
    if (m_strCode.empty()) {
        DataExchange::Refuse(m_pCodeEdit, "Please enter Account code.", "Required Field");
        return;
    }
    if (m_strDesc.empty()) {
        DataExchange::Refuse(m_pDescEdit, "Please enter Account Description.", "Required Field");
        return;
    }
    CAdoRecordset& rs = *m_pRecordset;
    if (LookupTables::AccountCodeTaken(rs, m_strCode, m_bEditMode ? std::optional(m_strPrevCode) : std::nullopt)) {
        DataExchange::Refuse(m_pCodeEdit, "Duplicate Accounts are not allowed.", "Invalid Entry");
        return;
    }
    const bool stored = LookupEditing::Store(this, rs, "The account could not be saved.", [&](AdoFailure& failure) {
        const bool onRow = m_bEditMode ? rs.SetBookmark(m_bookmark) : rs.AddNew();
        return LookupTables::FinishRow(
            rs, onRow && rs.PutDF_Text(kAcctCode, m_strCode) && rs.PutDF_Text(kAcctDesc, m_strDesc), failure);
    });
    if (!stored) {
        m_bStoreFailed = true;
        return;
    }
    accept();
}
