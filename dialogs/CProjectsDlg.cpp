// The projects list: filling by ID, positions, and the new, edit and delete commands.
#include "dialogs/CProjectsDlg.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "database/ExpenseSchema.h"
#include "database/LookupTables.h"
#include "dbaccess/CAdoRecordset.h"
#include "dialogs/CLookupList.h"
#include "dialogs/CNewProjDlg.h"
#include "dialogs/LookupEditing.h"
#include "platform/ui/MessageBox.h"

using namespace schema::projects;

CProjectsDlg::CProjectsDlg(CAdoRecordset& projects, QWidget* parent)
    : QDialog(parent),
      m_pList(new CLookupList(this)),
      m_pDeleteButton(new QPushButton("&Delete", this)),
      m_pRecordset(&projects)
{
    setWindowTitle("Projects List");
    m_pList->setObjectName("projectList");
    m_pDeleteButton->setObjectName("deleteButton");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    QPushButton* newButton = LookupEditing::AddListButtons(this, layout, "&New Proj...", m_pDeleteButton);
    resize(620, 380);
    connect(newButton, &QPushButton::clicked, this, &CProjectsDlg::OnNew);
    connect(m_pDeleteButton, &QPushButton::clicked, this, &CProjectsDlg::OnDelete);
    connect(m_pList, &CLookupList::itemSelectionChanged, this, [this] {
        m_nSelected = m_pList->SelectedRow();
        m_pDeleteButton->setEnabled(m_nSelected >= 0);
    });
    connect(m_pList, &CLookupList::EditRequested, this, &CProjectsDlg::OnEdit);
    connect(m_pList, &CLookupList::DeleteRequested, m_pDeleteButton, &QPushButton::click);
    OnInitDialog();
}

void CProjectsDlg::OnInitDialog()
{
    m_pList->SetColumns({{"Sort", 0.10, Qt::AlignRight}, {"Proj Name", 0.20}, {"Description", 0.65}});
    m_pRecordset->m_strSort = kProjectID;  // stays in force for the form afterwards
    if (m_pRecordset->IsOpen())
        (void)m_pRecordset->SetSort(kProjectID, true);  // refused: the rows keep the order they came in
    Fill();
}

void CProjectsDlg::Fill(bool bReread)
{
    if (bReread)
        m_pRecordset->Close();  // after a refused store the rows may differ from the table
    const QSignalBlocker quiet(m_pList);
    m_pList->setRowCount(0);
    m_nSelected = -1;
    m_pDeleteButton->setEnabled(false);
    if (!m_pRecordset->IsOpen() && !m_pRecordset->OpenTable(kTable)) {
        LookupEditing::ReportFailure(this, "The projects could not be read.", m_pRecordset->LastFailure());
        return;
    }
    m_pRecordset->MoveFirst();
    for (long i = 0; i < m_pRecordset->GetRecordCount(); ++i) {
        InsertRow(static_cast<int>(i), false);
        m_pRecordset->MoveNext();
    }
}

void CProjectsDlg::InsertRow(int nIndex, bool bSelect)
{
    CAdoRecordset& rs = *m_pRecordset;
    m_pList->InsertRow(nIndex,
                       {QString::number(rs.GetDF_Long(kProjectID)), QString::fromStdString(rs.GetDF_Text(kProjectName)),
                        QString::fromStdString(rs.GetDF_Text(kProjectDesc))},
                       rs.GetBookmark(), bSelect);
}

int CProjectsDlg::PositionFor(std::int32_t lProjectID) const
{
    for (int row = 0; row < m_pList->rowCount(); ++row)
        if (m_pList->item(row, 0)->text().toLongLong() > lProjectID)
            return row;
    return m_pList->rowCount();
}

bool CProjectsDlg::IsCurrent()
{
    // A HotSync closes and re-opens the database, which closes the record set: the list is read
    // again, and the user acts on what it then shows.
    if (m_pRecordset->IsOpen())
        return true;
    Fill(true);
    return false;
}

void CProjectsDlg::OnNew()
{
    if (!IsCurrent())
        return;
    m_nSelected = -1;
    const int rows = m_pList->rowCount();
    CNewProjDlg dialog(this);
    dialog.SetRecordset(m_pRecordset);
    dialog.SetEditMode(false);
    dialog.SetListIndex(-1);
    dialog.m_lProjectID = rows == 0 ? 1 : static_cast<std::int32_t>(m_pList->item(rows - 1, 0)->text().toLongLong() + 1);
    const bool saved = dialog.exec() == QDialog::Accepted;
    if (dialog.StoreFailed())
        Fill(true);
    else if (saved)
        AfterSave(-1);
}

void CProjectsDlg::OnEdit(int nRow)
{
    if (!IsCurrent())
        return;
    const auto bookmark = m_pList->Bookmark(nRow);
    if (!bookmark || !m_pRecordset->SetBookmark(*bookmark))
        return;
    CNewProjDlg dialog(this);
    dialog.SetRecordset(m_pRecordset);
    dialog.SetEditMode(true);
    dialog.SetListIndex(nRow);
    const bool saved = dialog.exec() == QDialog::Accepted;
    if (dialog.StoreFailed())
        Fill(true);
    else if (saved)
        AfterSave(nRow);
}

void CProjectsDlg::AfterSave(int nRemoveRow)
{
    // The record set stands on the stored row: its row goes to the place of its ID.
    const QSignalBlocker quiet(m_pList);
    if (nRemoveRow >= 0)
        m_pList->removeRow(nRemoveRow);
    const int index = PositionFor(m_pRecordset->GetDF_Long(kProjectID));
    InsertRow(index, true);
    m_nSelected = index;
    m_pDeleteButton->setEnabled(true);
    m_bChanged = true;
}

bool CProjectsDlg::ConfirmDelete()
{
    CAdoRecordset& rs = *m_pRecordset;
    const std::int32_t id = rs.GetDF_Long(kProjectID);
    LookupTables tables(*rs.GetDatabase());
    const std::optional<std::int32_t> uses = tables.ExpensesChargedTo(id);
    if (!uses) {
        LookupEditing::ReportFailure(this, "The project could not be deleted.", tables.Failure());
        return false;
    }
    const std::int32_t count = *uses;
    if (count == 0)
        return true;
    const QString text =
        QString("%1 charged to project %2 (%3). Deleting the project leaves %4 under a project that no longer "
                "exists.\n\nDelete the project anyway?")
            .arg(count == 1 ? QString("1 expense is") : QString("%1 expenses are").arg(count))
            .arg(id)
            .arg(QString::fromStdString(rs.GetDF_Text(kProjectName)))
            .arg(count == 1 ? "it" : "them");
    return ui::MessageBox::Show(this, text, "Confirm Delete", ui::MessageBox::Buttons::YesNo,
                                ui::MessageBox::Icon::Question, ui::MessageBox::Answer::No) == ui::MessageBox::Answer::Yes;
}

void CProjectsDlg::OnDelete()
{
    if (!IsCurrent())
        return;
    const auto bookmark = m_nSelected >= 0 ? m_pList->Bookmark(m_nSelected) : std::nullopt;
    m_pDeleteButton->setEnabled(false);
    CAdoRecordset& rs = *m_pRecordset;
    if (!bookmark || !rs.SetBookmark(*bookmark) || !ConfirmDelete()) {
        m_pDeleteButton->setEnabled(m_nSelected >= 0);
        return;
    }
    const bool deleted = LookupEditing::Store(this, rs, "The project could not be deleted.", [&](AdoFailure& failure) {
        if (rs.SetBookmark(*bookmark) && rs.Delete())
            return true;
        failure = rs.LastFailure();
        return false;
    });
    if (!deleted) {
        Fill(true);
        return;
    }
    const QSignalBlocker quiet(m_pList);
    m_pList->removeRow(m_nSelected);
    m_pList->clearSelection();
    m_nSelected = -1;
    m_bChanged = true;
}
