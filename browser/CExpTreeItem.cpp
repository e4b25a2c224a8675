// Building, summing and formatting the items of the expense tree.
#include "browser/CExpTreeItem.h"

#include "platform/ole/FormatAmount.h"
#include "browser/FixedWidthText.h"
#include "dbaccess/CAdoRecordset.h"

namespace {

std::string Number(long value) { return std::to_string(value); }

}  // namespace

CExpTreeItem::CExpTreeItem(std::uint32_t nKind, CAdoRecordset& expenses, CAdoRecordset& types, CAdoRecordset& projects)
    : m_nKind(nKind)
{
    const ole::DateTime date = expenses.GetDF_DateTime("ExpDate");
    m_nExpType = expenses.GetDF_Short("ExpType");
    const std::uint8_t typeComp = expenses.GetDF_Byte("TypeComp");
    m_nYearKey = (typeComp != 0 && typeComp != 2) ? expenses.GetDF_Long("ProjectID") : date.year();
    m_nProjectKey = m_nExpType <= 0 ? m_nYearKey : expenses.GetDF_Long("ProjectID");

    types.m_strFind = "ExpType=" + Number(m_nExpType);
    if (!types.FindFirst()) {
        m_strLabel = "<error>";
    } else if (typeComp == 0) {
        if (m_nExpType == 0)
            m_strLabel = "TAX YR " + Number(m_nYearKey);
        else if (m_nExpType == 1)
            m_strLabel = "EST TAX " + Number(m_nYearKey);
        else
            m_strLabel = types.GetDF_Text("ExpLabel");
    } else if (typeComp == 2) {
        m_bReimbursable = true;
        projects.m_strFind = "ProjectID=" + Number(m_nProjectKey);
        m_strLabel = projects.FindFirst() ? projects.GetDF_Text("ProjectName") : "<error>";
    } else {
        m_strLabel = types.GetDF_Text("ExpLabel") + ": " + Number(m_nProjectKey);
    }
    m_strCategory = expenses.GetDF_Text("ExpCat");
}

CExpTreeItem::CExpTreeItem(CAdoRecordset& expenses, CAdoRecordset& statuses, std::unique_ptr<ole::Variant> pBookmark,
                           int nSortMode)
    : m_pBookmark(std::move(pBookmark)), m_nKind(ExpenseItem)
{
    const ole::DateTime date = expenses.GetDF_DateTime("ExpDate");
    m_bReimbursable = expenses.GetDF_Byte("TypeComp") == 2;
    m_nYearKey = date.year();
    m_nExpType = expenses.GetDF_Short("ExpType");
    m_nProjectKey = m_nExpType <= 0 ? m_nYearKey : expenses.GetDF_Long("ProjectID");
    if (m_bReimbursable) {
        m_bReimburse = expenses.GetDF_Boolean("Reimburse");
        if (m_bReimburse)
            ReadStatusCode(expenses, statuses);
        if (m_strStatusCode.empty())
            m_strStatusCode = "--";
    }
    m_strCategory = expenses.GetDF_Text("ExpCat");
    m_strItem = expenses.GetDF_Text("Item");
    m_strDetail = expenses.GetDF_Text("Detail");
    m_strDateText = date.format("%m/%d");
    m_cyTotal = expenses.GetDF_Currency("Amount");
    FormatText(nSortMode);
}

CExpTreeItem::~CExpTreeItem() = default;

void CExpTreeItem::ReadStatusCode(CAdoRecordset& expenses, CAdoRecordset& statuses)
{
    m_strStatusCode = statuses.LookupText("Status", expenses.GetDF_Short("Status"), "StatusCode");
}

void CExpTreeItem::UpdateFromRecord(CAdoRecordset& expenses, CAdoRecordset& statuses)
{
    m_cyTotal = expenses.GetDF_Currency("Amount");
    m_strStatusCode.clear();
    m_bReimburse = expenses.GetDF_Boolean("Reimburse");
    if (m_bReimburse)
        ReadStatusCode(expenses, statuses);
    else if (m_bReimbursable)
        m_strStatusCode = "  ";
    m_strItem = expenses.GetDF_Text("Item");
    m_strDetail = expenses.GetDF_Text("Detail");
    m_strCategory = expenses.GetDF_Text("ExpCat");
    m_strDateText = expenses.GetDF_DateTime("ExpDate").format("%m/%d");
}

void CExpTreeItem::ApplyRecord(CAdoRecordset& expenses, bool bAdd)
{
    const ole::Currency amount = expenses.GetDF_Currency("Amount");
    const auto apply = [&](ole::Currency& sum) { bAdd ? sum += amount : sum -= amount; };
    apply(m_cyTotal);
    if (!expenses.GetDF_Boolean("Reimburse"))
        return;
    switch (expenses.GetDF_Short("Status")) {
    case 1: apply(m_cySumIN); break;
    case 2: apply(m_cySumSU); break;
    case 3: apply(m_cySumPD); break;
    default: break;
    }
}

void CExpTreeItem::AddRecord(CAdoRecordset& expenses) { ApplyRecord(expenses, true); }

void CExpTreeItem::SubtractRecord(CAdoRecordset& expenses) { ApplyRecord(expenses, false); }

void CExpTreeItem::ApplyChild(const CExpTreeItem& child, bool bAdd)
{
    const auto apply = [bAdd](ole::Currency& sum, const ole::Currency& amount) { bAdd ? sum += amount : sum -= amount; };
    apply(m_cyTotal, child.m_cyTotal);
    if (child.m_nKind != ExpenseItem) {
        apply(m_cySumIN, child.m_cySumIN);
        apply(m_cySumSU, child.m_cySumSU);
        apply(m_cySumPD, child.m_cySumPD);
    } else if (child.m_bReimburse) {
        if (child.m_strStatusCode == "IN")
            apply(m_cySumIN, child.m_cyTotal);
        else if (child.m_strStatusCode == "SU")
            apply(m_cySumSU, child.m_cyTotal);
        else if (child.m_strStatusCode == "PD")
            apply(m_cySumPD, child.m_cyTotal);
    }
}

void CExpTreeItem::AddChild(const CExpTreeItem& child) { ApplyChild(child, true); }

void CExpTreeItem::SubtractChild(const CExpTreeItem& child) { ApplyChild(child, false); }

void CExpTreeItem::ResetSums()
{
    m_cyTotal = m_cySumIN = m_cySumSU = m_cySumPD = ole::Currency();
}

bool CExpTreeItem::MatchesLine(const CExpTreeItem& line) const
{
    if (m_nExpType != line.m_nExpType)
        return false;
    if (m_nExpType == 0)
        return line.m_nYearKey == m_nYearKey;
    if (m_nExpType == 1)
        return line.m_nProjectKey == m_nYearKey;
    return line.m_nProjectKey == m_nProjectKey;
}

bool CExpTreeItem::SortsAfter(const CExpTreeItem& newGroup) const
{
    if (m_nExpType > newGroup.m_nExpType)
        return true;
    if (m_nExpType != newGroup.m_nExpType || m_nExpType < 0)
        return false;
    if (m_nExpType == 0)
        return m_nYearKey > newGroup.m_nYearKey;
    return m_nProjectKey > newGroup.m_nProjectKey;
}

const std::string& CExpTreeItem::FormatText(int nSortMode)
{
    using fixedwidth::Left;
    using fixedwidth::Right;
    const std::string total = Right(FormatAmount(m_cyTotal), 8);
    switch (m_nKind) {
    case TaxYearGroup: m_strText = "Tax YR: " + Number(m_nYearKey) + " = " + total; break;
    case EstTaxGroup: m_strText = "EST TAX: " + Number(m_nYearKey) + " = " + total; break;
    case TypeGroup:
        m_strText = m_strLabel + " = " + total;
        if (m_bReimbursable)
            m_strText += ",  IN=" + FormatAmount(m_cySumIN) + ",  SU=" + FormatAmount(m_cySumSU) +
                         ",  PD=" + FormatAmount(m_cySumPD);
        break;
    case CategoryGroup:
        if (m_bReimbursable)
            m_strText = Left(Left(m_strCategory, 8) + " = " + total + ",", 20) + " " +
                        Left("IN=" + FormatAmount(m_cySumIN) + ",", 11) + " " +
                        Left("SU=" + FormatAmount(m_cySumSU) + ",", 11) + " " +
                        Left("PD=" + FormatAmount(m_cySumPD), 11);
        else
            m_strText = Left(m_strCategory, 8) + " = " + total;
        break;
    case ExpenseItem:  // the bulk of a tree: built in place
        m_strText.clear();
        m_strText.reserve(140);
        fixedwidth::AppendRight(m_strText, m_strDateText, 5);
        m_strText += ' ';
        m_strText += m_strStatusCode;
        m_strText += ' ';
        if (nSortMode == 0) {
            fixedwidth::AppendLeft(m_strText, m_strCategory, 8);
            m_strText += ' ';
        }
        m_strText += total;
        m_strText += "  ";
        fixedwidth::AppendLeft(m_strText, m_strItem, 20);
        m_strText += ' ';
        fixedwidth::AppendLeft(m_strText, m_strDetail, 80);
        break;
    default: m_strText = "<Unknown> = " + total; break;
    }
    return m_strText;
}
