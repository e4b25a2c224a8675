// The project detail dialog: exchange with its ranges, required fields, the unique ID, the store.
#include "dialogs/CNewProjDlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "database/ExpenseSchema.h"
#include "database/LookupTables.h"
#include "dbaccess/CAdoRecordset.h"
#include "dialogs/LookupEditing.h"
#include "platform/ui/DataExchange.h"

using namespace schema::projects;
using ui::DataExchange;

namespace {
constexpr long long kFirstID = 1;
constexpr long long kLastID = 9999999;
}  // namespace

CNewProjDlg::CNewProjDlg(QWidget* parent)
    : QDialog(parent), m_pIdEdit(new QLineEdit(this)), m_pNameEdit(new QLineEdit(this)), m_pDescEdit(new QLineEdit(this))
{
    setWindowTitle("Project Detail");
    m_pIdEdit->setObjectName("idEdit");
    m_pNameEdit->setObjectName("nameEdit");
    m_pDescEdit->setObjectName("descEdit");
    m_pIdEdit->setMaximumWidth(m_pIdEdit->fontMetrics().horizontalAdvance("0000000000"));
    m_pDescEdit->setMinimumWidth(m_pDescEdit->fontMetrics().horizontalAdvance(QString(kDescriptionChars, 'x')));
    auto* grid = new QGridLayout(this);
    const auto label = [](const char* text, QWidget* buddy) { return LookupEditing::LabelFor(buddy, text); };
    grid->addWidget(label("Project&ID:", m_pIdEdit), 0, 0);
    grid->addWidget(m_pIdEdit, 0, 1);
    grid->addWidget(new QLabel("(Sort Order)", this), 0, 2);
    grid->addWidget(label("Short &Name:", m_pNameEdit), 1, 0);
    grid->addWidget(m_pNameEdit, 1, 1, 1, 2);
    grid->addWidget(label("&Desc:", m_pDescEdit), 2, 0);
    grid->addWidget(m_pDescEdit, 2, 1, 1, 3);
    LookupEditing::AddSaveCancel(this, grid, 3, [this] { OnSave(); });
}

int CNewProjDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CNewProjDlg::OnInitDialog()
{
    m_lLoadedID = -1;
    if (m_bEditMode && m_pRecordset) {
        m_bookmark = m_pRecordset->GetBookmark();
        m_lProjectID = m_pRecordset->GetDF_Long(kProjectID);
        m_strProjectName = m_pRecordset->GetDF_Text(kProjectName);
        m_strProjectDesc = m_pRecordset->GetDF_Text(kProjectDesc);
        m_lLoadedID = m_lProjectID;
    }
    UpdateData(false);
}

bool CNewProjDlg::UpdateData(bool bSave)
{
    if (!bSave) {
        DataExchange::LoadInteger(m_pIdEdit, m_lProjectID);
        DataExchange::LoadText(m_pNameEdit, m_strProjectName, kNameChars);
        DataExchange::LoadText(m_pDescEdit, m_strProjectDesc, kDescriptionChars);
        return true;
    }
    long long id = 0;
    if (!DataExchange::SaveInteger(m_pIdEdit, id, kFirstID, kLastID))
        return false;
    m_lProjectID = static_cast<std::int32_t>(id);
    return DataExchange::SaveText(m_pNameEdit, m_strProjectName, kNameChars) &&
           DataExchange::SaveText(m_pDescEdit, m_strProjectDesc, kDescriptionChars);
}

void CNewProjDlg::OnSave()
{
    if (!UpdateData(true))
        return;
    if (m_strProjectName.empty()) {
        DataExchange::Refuse(m_pNameEdit, "Please enter Project Name.", "Required Field missing");
        return;
    }
    if (m_strProjectDesc.empty()) {
        DataExchange::Refuse(m_pDescEdit, "Please enter Description for Project.", "Required Field missing");
        return;
    }
    CAdoRecordset& rs = *m_pRecordset;
    if (LookupTables::ProjectIDTaken(rs, m_lProjectID, m_bEditMode ? std::optional(m_lLoadedID) : std::nullopt)) {
        DataExchange::Refuse(m_pIdEdit, "Please enter a unique value for ProjectID.", "Duplicate ProjectID");
        return;
    }
    const bool stored = LookupEditing::Store(this, rs, "The project could not be saved.", [&](AdoFailure& failure) {
        const bool onRow = m_bEditMode ? rs.SetBookmark(m_bookmark) : rs.AddNew();
        return LookupTables::FinishRow(rs,
                                       onRow && rs.PutDF_Long(kProjectID, m_lProjectID) &&
                                           rs.PutDF_Text(kProjectName, m_strProjectName) &&
                                           rs.PutDF_Text(kProjectDesc, m_strProjectDesc),
                                       failure);
    });
    if (!stored) {
        m_bStoreFailed = true;
        return;
    }
    accept();
}
