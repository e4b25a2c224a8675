// Building, summing and formatting the items of the expense tree.
#include "expensetree/CExpTreeItem.h"

#include "expensetree/FixedWidthText.h"
#include "database/ExpenseRow.h"
#include "database/ExpenseSchema.h"
#include "dbaccess/CAdoRecordset.h"
#include "platform/ole/FormatAmount.h"

namespace {

constexpr const char* kErrorLabel = "<error>";  // a type or project the lookup tables lack

std::string Number(long value) { return std::to_string(value); }

}  // namespace

const std::uint32_t CExpTreeItem::kTreeColumns =
    ExpenseRow::ExpType | ExpenseRow::ExpCat | ExpenseRow::ExpDate | ExpenseRow::Item | ExpenseRow::Detail |
    ExpenseRow::Amount | ExpenseRow::Reimburse | ExpenseRow::Status | ExpenseRow::ProjectID | ExpenseRow::TypeComp;
const std::uint32_t CExpTreeItem::kGroupColumns = kTreeColumns & ~(ExpenseRow::Item | ExpenseRow::Detail);

std::uint32_t CExpTreeItem::TopLevelKindOf(std::int32_t nExpType)
{
    switch (nExpType) {
    case schema::typerange::kTax: return TaxYearGroup;
    case schema::typerange::kEstimatedTax: return EstTaxGroup;
    default: return TypeGroup;  // every other type, system types 2 to 9 included
    }
}

CExpTreeItem::CExpTreeItem(std::uint32_t nKind, const ExpenseRow& row, CAdoRecordset& types, CAdoRecordset& projects)
    : m_nKind(nKind)
{
    using namespace schema;
    m_nExpType = row.m_nExpType;
    const std::uint8_t typeComp = row.m_nTypeComp;
    m_nYearKey = (typeComp != comp::kSystem && typeComp != comp::kReimbursable) ? row.m_lProjectID : row.m_dtDate.year();
    m_nProjectKey = m_nExpType <= schema::typerange::kTax ? m_nYearKey : row.m_lProjectID;

    types.m_strFind = std::string(types::kExpType) + "=" + Number(m_nExpType);
    if (!types.FindFirst()) {
        m_strLabel = kErrorLabel;
    } else if (typeComp == comp::kSystem) {
        if (m_nExpType == typerange::kTax)
            m_strLabel = "TAX YR " + Number(m_nYearKey);
        else if (m_nExpType == typerange::kEstimatedTax)
            m_strLabel = "EST TAX " + Number(m_nYearKey);
        else
            m_strLabel = types.GetDF_Text(types::kExpLabel);
    } else if (typeComp == comp::kReimbursable) {
        m_bReimbursable = true;
        projects.m_strFind = std::string(projects::kProjectID) + "=" + Number(m_nProjectKey);
        m_strLabel = projects.FindFirst() ? projects.GetDF_Text(projects::kProjectName) : kErrorLabel;
    } else {
        m_strLabel = types.GetDF_Text(types::kExpLabel) + ": " + Number(m_nProjectKey);
    }
    m_strCategory = row.m_strExpCat;
}

CExpTreeItem::CExpTreeItem(ExpenseRow row, CAdoRecordset& statuses, std::unique_ptr<ole::Variant> pBookmark,
                           SortMode sortMode)
    : m_pBookmark(std::move(pBookmark)), m_nKind(ExpenseItem)
{
    m_bReimbursable = row.IsReimbursableType();
    m_nYearKey = row.m_dtDate.year();
    m_nExpType = row.m_nExpType;
    m_nProjectKey = m_nExpType <= schema::typerange::kTax ? m_nYearKey : row.m_lProjectID;
    if (m_bReimbursable) {
        m_bReimburse = row.m_bReimburse;
        if (m_bReimburse)
            ReadStatusCode(row, statuses);
        if (m_strStatusCode.empty())
            m_strStatusCode = "--";
    }
    m_strCategory = std::move(row.m_strExpCat);
    m_strItem = std::move(row.m_strItem);
    m_strDetail = std::move(row.m_strDetail);
    m_strDateText = row.m_dtDate.format("%m/%d");
    m_cyTotal = row.m_cyAmount;
    FormatText(sortMode);
}

CExpTreeItem::~CExpTreeItem() = default;

void CExpTreeItem::ReadStatusCode(const ExpenseRow& row, CAdoRecordset& statuses)
{
    m_strStatusCode = statuses.LookupText(schema::statuses::kStatus, row.m_nStatus.value_or(0), schema::statuses::kStatusCode);
}

void CExpTreeItem::UpdateFromRecord(const ExpenseRow& row, CAdoRecordset& statuses)
{
    m_cyTotal = row.m_cyAmount;
    m_strStatusCode.clear();
    m_bReimburse = row.m_bReimburse;
    if (m_bReimburse)
        ReadStatusCode(row, statuses);
    else if (m_bReimbursable)
        m_strStatusCode = "  ";
    m_strItem = row.m_strItem;
    m_strDetail = row.m_strDetail;
    m_strCategory = row.m_strExpCat;
    m_strDateText = row.m_dtDate.format("%m/%d");
}

void CExpTreeItem::ApplyRecord(const ExpenseRow& row, bool bAdd)
{
    const auto apply = [&](ole::Currency& sum) { bAdd ? sum += row.m_cyAmount : sum -= row.m_cyAmount; };
    apply(m_cyTotal);
    if (!row.m_bReimburse)
        return;
    switch (row.m_nStatus.value_or(schema::billing::kNone)) {
    case schema::billing::kIncurred: apply(m_cySumIN); break;
    case schema::billing::kSubmitted: apply(m_cySumSU); break;
    case schema::billing::kPaid: apply(m_cySumPD); break;
    default: break;
    }
}

void CExpTreeItem::AddRecord(const ExpenseRow& row) { ApplyRecord(row, true); }

void CExpTreeItem::SubtractRecord(const ExpenseRow& row) { ApplyRecord(row, false); }

void CExpTreeItem::ApplyChild(const CExpTreeItem& child, bool bAdd)
{
    const auto apply = [bAdd](ole::Currency& sum, const ole::Currency& amount) { bAdd ? sum += amount : sum -= amount; };
    apply(m_cyTotal, child.m_cyTotal);
    if (child.m_nKind != ExpenseItem) {
        apply(m_cySumIN, child.m_cySumIN);
        apply(m_cySumSU, child.m_cySumSU);
        apply(m_cySumPD, child.m_cySumPD);
    } else if (child.m_bReimburse) {
        if (child.m_strStatusCode == schema::billing::kIncurredCode)
            apply(m_cySumIN, child.m_cyTotal);
        else if (child.m_strStatusCode == schema::billing::kSubmittedCode)
            apply(m_cySumSU, child.m_cyTotal);
        else if (child.m_strStatusCode == schema::billing::kPaidCode)
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
    if (m_nExpType == schema::typerange::kTax)
        return line.m_nYearKey == m_nYearKey;
    if (m_nExpType == schema::typerange::kEstimatedTax)
        return line.m_nProjectKey == m_nYearKey;
    return line.m_nProjectKey == m_nProjectKey;
}

bool CExpTreeItem::EndsBefore(const ExpenseRow& row) const
{
    if (TopLevelKindOf(row.m_nExpType) != m_nKind)
        return true;
    switch (m_nKind) {
    case TaxYearGroup: return row.m_dtDate.year() != m_nYearKey;
    case EstTaxGroup: return row.m_lProjectID != m_nYearKey;
    default: return row.m_nExpType != m_nExpType || row.m_lProjectID != m_nProjectKey;
    }
}

bool CExpTreeItem::SortsAfter(const CExpTreeItem& newGroup) const
{
    if (m_nExpType > newGroup.m_nExpType)
        return true;
    if (m_nExpType != newGroup.m_nExpType || m_nExpType < 0)
        return false;
    if (m_nExpType == schema::typerange::kTax)
        return m_nYearKey > newGroup.m_nYearKey;
    return m_nProjectKey > newGroup.m_nProjectKey;
}

const std::string& CExpTreeItem::FormatText(SortMode sortMode)
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
        if (sortMode == SortMode::ByDate) {  // by category, the group above names it
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
