// The expense category dialog: required fields, the unique code within the type, the store.
#include "dialogs/CExpCatDlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "database/ExpenseSchema.h"
#include "database/LookupTables.h"
#include "dbaccess/CAdoRecordset.h"
#include "dialogs/LookupEditing.h"
#include "platform/ui/DataExchange.h"

using namespace schema::categories;
using ui::DataExchange;

CExpCatDlg::CExpCatDlg(QWidget* parent)
    : QDialog(parent), m_pTypeEdit(new QLineEdit(this)), m_pCatEdit(new QLineEdit(this)), m_pDescEdit(new QLineEdit(this))
{
    setWindowTitle("Expense Category");
    m_pTypeEdit->setObjectName("typeEdit");
    m_pCatEdit->setObjectName("categoryEdit");
    m_pDescEdit->setObjectName("descEdit");
    m_pTypeEdit->setReadOnly(true);
    m_pTypeEdit->setFocusPolicy(Qt::NoFocus);
    m_pDescEdit->setMinimumWidth(m_pDescEdit->fontMetrics().horizontalAdvance(QString(kDescriptionChars, 'x')));
    DataExchange::UpperCase(m_pCatEdit);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* save = buttons->addButton("&Save", QDialogButtonBox::AcceptRole);
    // Cancel's text is set, as some desktop themes give it a C that would clash with Category's.
    buttons->addButton(QDialogButtonBox::Cancel)->setText("Cancel");
    save->setDefault(true);
    save->setObjectName("saveButton");
    auto* form = new QFormLayout(this);
    form->addRow("ExpType:", m_pTypeEdit);
    form->addRow("&Category:", m_pCatEdit);
    form->addRow("&Desc:", m_pDescEdit);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CExpCatDlg::OnSave);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int CExpCatDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CExpCatDlg::OnInitDialog()
{
    m_strLoadedCat.clear();
    if (m_bEditMode) {
        m_bookmark = m_pRecordset->GetBookmark();
        m_strExpCat = m_pRecordset->GetDF_Text(kExpCat);
        m_strCatDesc = m_pRecordset->GetDF_Text(kCatDesc);
        m_strLoadedCat = m_strExpCat;
    }
    m_pTypeEdit->setText(QString::fromStdString(m_strTypeLabel));
    DataExchange::LoadText(m_pCatEdit, m_strExpCat, kCategoryChars);
    DataExchange::LoadText(m_pDescEdit, m_strCatDesc, kDescriptionChars);
}

void CExpCatDlg::OnSave()
{
    if (!DataExchange::SaveText(m_pCatEdit, m_strExpCat, kCategoryChars) ||
        !DataExchange::SaveText(m_pDescEdit, m_strCatDesc, kDescriptionChars))
        return;
    if (m_strExpCat.empty()) {
        DataExchange::Refuse(m_pCatEdit, "Please enter Category name.", "Required Field");
        return;
    }
    if (m_strCatDesc.empty()) {
        DataExchange::Refuse(m_pDescEdit, "Please enter Category Description.", "Required Field");
        return;
    }
    CAdoRecordset& rs = *m_pRecordset;
    const auto loaded = m_bEditMode ? std::optional(m_strLoadedCat) : std::nullopt;
    if (LookupTables::CategoryTaken(rs, m_nExpType, m_strExpCat, loaded)) {
        DataExchange::Refuse(m_pCatEdit, "Please enter a unique value for Category name.", "Invalid Entry");
        return;
    }
    const bool stored = LookupEditing::Store(this, rs, "The category could not be saved.", [&](AdoFailure& failure) {
        const bool onRow = m_bEditMode ? rs.SetBookmark(m_bookmark) : (rs.AddNew() && rs.PutDF_Short(kExpType, m_nExpType));
        return LookupTables::FinishRow(
            rs, onRow && rs.PutDF_Text(kExpCat, m_strExpCat) && rs.PutDF_Text(kCatDesc, m_strCatDesc), failure);
    });
    if (!stored) {
        m_bStoreFailed = true;
        return;
    }
    accept();
}
