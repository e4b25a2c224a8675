// The accounts list: filling, selection, and the new, edit and delete commands.
#include "dialogs/CAccountsDlg.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "database/ExpenseSchema.h"
#include "dialogs/CAcctEditDlg.h"
#include "dialogs/CLookupList.h"
#include "dialogs/LookupEditing.h"

using namespace schema::accounts;

CAccountsDlg::CAccountsDlg(CADODataBase& db, QWidget* parent)
    : QDialog(parent), m_pList(new CLookupList(this)), m_pDeleteButton(new QPushButton("&Delete", this)), m_rs(&db)
{
    setWindowTitle("Accounts List");
    m_pList->setObjectName("accountList");
    m_pDeleteButton->setObjectName("deleteButton");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    QPushButton* newButton = LookupEditing::AddListButtons(this, layout, "&New Acct...", m_pDeleteButton);
    resize(380, 320);
    connect(newButton, &QPushButton::clicked, this, &CAccountsDlg::OnNew);
    connect(m_pDeleteButton, &QPushButton::clicked, this, &CAccountsDlg::OnDelete);
    connect(m_pList, &CLookupList::itemSelectionChanged, this, &CAccountsDlg::OnSelectionChanged);
    connect(m_pList, &CLookupList::EditRequested, this, &CAccountsDlg::OnEdit);
    connect(m_pList, &CLookupList::DeleteRequested, m_pDeleteButton, &QPushButton::click);
    OnInitDialog();
}

CAccountsDlg::~CAccountsDlg() { m_rs.Close(); }

void CAccountsDlg::OnInitDialog()
{
    m_pList->SetColumns({{"Acct", 0.25}, {"Account Desc", 0.65}});
    m_rs.m_strSort = kAcctCode;
    Fill();
}

void CAccountsDlg::Fill()
{
    const QSignalBlocker quiet(m_pList);
    m_pList->setRowCount(0);
    m_nSelected = -1;
    m_pDeleteButton->setEnabled(false);
    if (!m_rs.OpenTable(kTable)) {
        LookupEditing::ReportFailure(this, "The accounts could not be read.", m_rs.LastFailure());
        return;
    }
    m_rs.MoveFirst();
    for (long i = 0; i < m_rs.GetRecordCount(); ++i) {
        AddRow(static_cast<int>(i), false);
        m_rs.MoveNext();
    }
}

void CAccountsDlg::AddRow(int nIndex, bool bSelect)
{
    m_pList->InsertRow(nIndex,
                       {QString::fromStdString(m_rs.GetDF_Text(kAcctCode)), QString::fromStdString(m_rs.GetDF_Text(kAcctDesc))},
                       m_rs.GetBookmark(), bSelect);
}

void CAccountsDlg::OnSelectionChanged()
{
    m_nSelected = m_pList->SelectedRow();
    // The last account is never deleted: the expense dialogs need one to offer.
    m_pDeleteButton->setEnabled(m_nSelected >= 0 && m_rs.IsOpen() && m_rs.GetRecordCount() >= 2);
}

bool CAccountsDlg::IsCurrent()
{
    // A HotSync closes and re-opens the database, which closes this record set: the list is read
    // again, and the user acts on what it then shows.
    if (m_rs.IsOpen())
        return true;
    Fill();
    return false;
}

void CAccountsDlg::OnEdit(int nRow)
{
    if (!IsCurrent())
        return;
    const auto bookmark = m_pList->Bookmark(nRow);
    if (!bookmark || !m_rs.SetBookmark(*bookmark))
        return;
    CAcctEditDlg dialog(this);
    dialog.SetEditMode(true);
    dialog.SetRecordset(&m_rs);
    const bool saved = dialog.exec() == QDialog::Accepted;
    if (dialog.StoreFailed()) {
        Fill();  // show what the table holds
        return;
    }
    if (!saved)
        return;
    m_pList->SetTexts(nRow, {QString::fromStdString(m_rs.GetDF_Text(kAcctCode)),
                             QString::fromStdString(m_rs.GetDF_Text(kAcctDesc))});
    m_bChanged = true;
}

void CAccountsDlg::OnNew()
{
    if (!IsCurrent())
        return;
    const int index = m_pList->rowCount();
    CAcctEditDlg dialog(this);
    dialog.SetEditMode(false);
    dialog.SetRecordset(&m_rs);
    const bool saved = dialog.exec() == QDialog::Accepted;
    if (dialog.StoreFailed()) {
        Fill();
        return;
    }
    if (!saved)
        return;
    AddRow(index, true);  // stays at the end until the list is opened again
    m_bChanged = true;
}

void CAccountsDlg::OnDelete()
{
    if (!IsCurrent())
        return;
    const auto bookmark = m_nSelected >= 0 ? m_pList->Bookmark(m_nSelected) : std::nullopt;
    if (!bookmark || m_rs.GetRecordCount() < 2)
        return;
    const bool deleted = LookupEditing::Store(this, m_rs, "The account could not be deleted.", [&](AdoFailure& failure) {
        if (m_rs.SetBookmark(*bookmark) && m_rs.Delete())
            return true;
        failure = m_rs.LastFailure();
        return false;
    });
    if (!deleted) {
        Fill();
        return;
    }
    m_pList->removeRow(m_nSelected);
    m_bChanged = true;
    m_pList->clearSelection();
    m_nSelected = -1;
    m_pDeleteButton->setEnabled(false);
}
