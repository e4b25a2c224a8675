// Reading and storing expense rows.
#include "database/ExpenseRow.h"

#include "database/ExpenseSchema.h"
#include "dbaccess/CAdoRecordset.h"

namespace col = schema::expenses;

ExpenseRow ExpenseRow::Read(CAdoRecordset& rs, std::uint32_t columns)
{
    ExpenseRow row;
    const auto wanted = [columns](Column column) { return (columns & column) != 0; };
    if (wanted(ExpType))
        row.m_nExpType = rs.GetDF_Short(col::kExpType);
    if (wanted(ExpCat))
        row.m_strExpCat = rs.GetDF_Text(col::kExpCat);
    if (wanted(ExpDate))
        row.m_dtDate = rs.GetDF_DateTime(col::kExpDate);
    if (wanted(ExpYear))
        row.m_nExpYear = rs.GetDF_Short(col::kExpYear);
    if (wanted(Item))
        row.m_strItem = rs.GetDF_Text(col::kItem);
    if (wanted(Detail))
        row.m_strDetail = rs.GetDF_Text(col::kDetail);
    if (wanted(Vendor))
        row.m_strVendor = rs.GetDF_Text(col::kVendor);
    if (wanted(ChkNbr))
        row.m_strChkNbr = rs.GetDF_Text(col::kChkNbr);
    if (wanted(AcctCode))
        row.m_strAcctCode = rs.GetDF_Text(col::kAcctCode);
    if (wanted(Amount))
        row.m_cyAmount = rs.GetDF_Currency(col::kAmount);
    if (wanted(Reimburse))
        row.m_bReimburse = rs.GetDF_Boolean(col::kReimburse);
    if (wanted(Status))
        row.m_nStatus = rs.GetDF_Short(col::kStatus);
    if (wanted(ProjectID))
        row.m_lProjectID = rs.GetDF_Long(col::kProjectID);
    if (wanted(TypeComp))
        row.m_nTypeComp = rs.GetDF_Byte(col::kTypeComp);
    return row;
}

bool ExpenseRow::IsReimbursableType() const { return m_nTypeComp == schema::comp::kReimbursable; }

std::int16_t ExpenseRow::Year() const
{
    return m_dtDate.isValid() ? static_cast<std::int16_t>(m_dtDate.year()) : std::int16_t(-1);
}

std::int32_t ExpenseRow::StoredProjectID() const { return IsReimbursableType() ? m_lProjectID : Year(); }

bool ExpenseRow::WriteColumns(CAdoRecordset& rs) const
{
    const bool reimbursable = IsReimbursableType();
    bool written = rs.PutDF_Short(col::kExpYear, Year());
    if (m_dtDate.isValid())
        written = written && rs.PutDF_DateTime(col::kExpDate, m_dtDate);
    written = written && rs.PutDF_Text(col::kItem, m_strItem) && rs.PutDF_Short(col::kExpType, m_nExpType) &&
              rs.PutDF_Text(col::kExpCat, m_strExpCat) && rs.PutDF_Byte(col::kTypeComp, m_nTypeComp) &&
              rs.PutDF_Boolean(col::kReimburse, reimbursable && m_bReimburse);
    if (reimbursable)
        written = written && (m_nStatus ? rs.PutDF_Short(col::kStatus, *m_nStatus) : rs.PutDF_Empty(col::kStatus));
    return written && rs.PutDF_Long(col::kProjectID, StoredProjectID()) &&
           rs.PutDF_Currency(col::kAmount, m_cyAmount) && rs.PutDF_Text(col::kDetail, m_strDetail) &&
           rs.PutDF_Text(col::kVendor, m_strVendor) && rs.PutDF_Text(col::kChkNbr, m_strChkNbr) &&
           rs.PutDF_Text(col::kAcctCode, m_strAcctCode);
}

bool ExpenseRow::StoreNew(CAdoRecordset& rs) const
{
    if (!rs.AddNew())
        return false;
    return StoreOver(rs);
}

bool ExpenseRow::StoreOver(CAdoRecordset& rs) const
{
    if (WriteColumns(rs))
        return rs.Update();  // a failed store drops the pending row itself
    rs.CancelUpdate();
    return false;
}
