// Record set operations with the access layer's null rules and failure reports.
#include "dbaccess/CAdoRecordset.h"

#include <cstdio>

#include "dbaccess/CADODataBase.h"
#include "platform/ado/Connection.h"
#include "platform/ado/Error.h"
#include "platform/ado/Recordset.h"

using ole::VarType;
using ole::Variant;

static_assert(int(CAdoRecordset::adOpenKeyset) == int(ado::adOpenKeyset) &&
              int(CAdoRecordset::adOpenStatic) == int(ado::adOpenStatic));

CAdoRecordset::CAdoRecordset(CADODataBase* pDatabase)
    : m_pRecordset(std::make_unique<ado::Recordset>()), m_pDatabase(pDatabase)
{
}

CAdoRecordset::~CAdoRecordset() = default;  // the engine record set closes itself

void CAdoRecordset::RecordError(const std::string& context, const ado::Error& error)
{
    char code[16];
    std::snprintf(code, sizeof code, "%08lx",
                  static_cast<unsigned long>(static_cast<std::uint32_t>(error.code())));
    m_hrLastError = error.code();
    m_LastFailure = {error.code(), error.source(), error.description(), context};
    m_strLastError = "Query = " + context + "\n" + "CAdoRecordset Error\n\nCode = " + code +
                     "\nCode meaning = " + ado::Error::codeMeaning(error.code()) +
                     "\nSource = " + error.source() + "\nDescription:\n  " + error.description();
}

std::string CAdoRecordset::GetDefaultSQL() { return {}; }

bool CAdoRecordset::IsOpen() const { return m_pRecordset->isOpen(); }

std::string CAdoRecordset::ClosedReason() const
{
    if (IsOpen())
        return {};
    if (!CanOpen())
        return m_pDatabase ? m_pDatabase->ClosedReason() : "The database is not open.";
    return m_LastFailure.description.empty() ? "The table is not open." : m_LastFailure.description;
}

bool CAdoRecordset::CanOpen() const
{
    return m_pDatabase && m_pDatabase->IsOpen();
}

bool CAdoRecordset::OpenTable(const std::string& strTable)
{
    if (!CanOpen())
        return false;
    Close();
    try {
        m_pRecordset->setCursorLocation(ado::adUseClient);
        m_pRecordset->setFilter(m_strFilter);
        m_pRecordset->setSort(m_strSort);
        m_pRecordset->open(strTable, m_pDatabase->GetConnection(), ado::adOpenKeyset,
                           ado::adLockOptimistic, ado::adCmdTable);
    } catch (const ado::Error& error) {
        RecordError(strTable, error);
        return false;
    }
    return true;
}

std::string CAdoRecordset::BuildQuery(const std::string& strSQL)
{
    std::string query = strSQL.empty() ? GetDefaultSQL() : strSQL;
    if (!m_strFilter.empty())
        query += " WHERE " + m_strFilter;
    if (!m_strSort.empty())
        query += " ORDER BY " + m_strSort;
    return query;
}

bool CAdoRecordset::OpenQuery(const std::string& strSQL, int nCursorType)
{
    if (!CanOpen())
        return false;
    Close();
    const std::string query = BuildQuery(strSQL);
    if (query.empty())
        return false;
    try {
        m_pRecordset->setCursorLocation(ado::adUseClient);
        m_pRecordset->open(query, m_pDatabase->GetConnection(), nCursorType, ado::adLockOptimistic,
                           ado::adCmdText);
    } catch (const ado::Error& error) {
        RecordError(query, error);
        return false;
    }
    return true;
}

template <typename Operation>
bool CAdoRecordset::Recording(const std::string& context, Operation operation)
{
    try {
        operation(*m_pRecordset);
        return true;
    } catch (const ado::Error& error) {
        RecordError(context, error);
        return false;
    }
}

void CAdoRecordset::Close()
{
    if (IsOpen())
        Recording("Close", [](ado::Recordset& rs) { rs.close(); });
}

void CAdoRecordset::MoveFirst() { Recording("MoveFirst", [](ado::Recordset& rs) { rs.moveFirst(); }); }

void CAdoRecordset::MoveNext() { Recording("MoveNext", [](ado::Recordset& rs) { rs.moveNext(); }); }

void CAdoRecordset::MovePrevious() { Recording("MovePrevious", [](ado::Recordset& rs) { rs.movePrevious(); }); }

bool CAdoRecordset::MoveTo(long nRow)
{
    return Recording("Move Procedure", [nRow](ado::Recordset& rs) {
        rs.moveFirst();
        if (nRow > 0)
            rs.move(nRow);
    });
}

bool CAdoRecordset::IsEOF() const { return m_pRecordset->isEOF(); }

bool CAdoRecordset::IsBOF() const { return m_pRecordset->isBOF(); }

long CAdoRecordset::GetRecordCount() const { return m_pRecordset->recordCount(); }

Variant CAdoRecordset::GetBookmark() const { return Variant(m_pRecordset->bookmark()); }

bool CAdoRecordset::SetBookmark(const Variant& bookmark)
{
    if (bookmark.isEmpty())
        return false;
    return Recording("Bookmark operation failed.", [&bookmark](ado::Recordset& rs) { rs.setBookmark(bookmark); });
}

CAdoRecordset::RowPeek::RowPeek(CAdoRecordset& rs, const Variant& bookmark) : m_rs(rs)
{
    m_bValid = rs.IsOpen() && rs.m_pRecordset->peek(bookmark);
}

CAdoRecordset::RowPeek::~RowPeek()
{
    if (m_bValid && m_rs.IsOpen())
        m_rs.m_pRecordset->endPeek();
}

bool CAdoRecordset::SetSort(const std::string& strSort, bool bRemember)
{
    if (!Recording("SetSort", [&strSort](ado::Recordset& rs) { rs.setSort(strSort); }))
        return false;
    if (bRemember)
        m_strSort = strSort;
    return true;
}

bool CAdoRecordset::FindFirst()
{
    if (m_strFind.empty())
        return false;
    try {
        m_pRecordset->moveFirst();
        m_pRecordset->find(m_strFind, 0, true);
        return !m_pRecordset->isEOF();
    } catch (const ado::Error& error) {
        if (error.code() != ado::kInvalidArgument)  // a criterion it cannot use is not recorded
            RecordError("FindFirst Procedure", error);
        return false;
    }
}

bool CAdoRecordset::FindNext()
{
    if (m_strFind.empty() || m_pRecordset->isEOF())
        return false;
    m_pRecordset->find(m_strFind, 1, true);
    return !m_pRecordset->isEOF();
}

std::string CAdoRecordset::LookupText(std::string_view keyColumn, std::int16_t nKey, std::string_view textColumn)
{
    m_strFind = std::string(keyColumn) + "=" + std::to_string(nKey);
    if (FindFirst())
        return GetDF_Text(textColumn);
    return {};
}

void CAdoRecordset::CancelUpdate()
{
    if (IsOpen())  // a closed record set has nothing pending
        m_pRecordset->cancelUpdate();
}

bool CAdoRecordset::AddNew()
{
    return Recording("AddNew", [](ado::Recordset& rs) { rs.addNew(); });
}

bool CAdoRecordset::CancelAfterFailure()
{
    CancelUpdate();
    return false;
}

bool CAdoRecordset::Update()
{
    return Recording("Update operation failed.", [](ado::Recordset& rs) { rs.update(); }) || CancelAfterFailure();
}

bool CAdoRecordset::Delete()
{
    const auto remove = [this](ado::Recordset& rs) {
        if (rs.editMode() != ado::Recordset::EditMode::None) {
            CancelUpdate();  // a pending new or edited row is dropped; nothing is deleted
            return;
        }
        rs.deleteCurrent();
        rs.update();
    };
    return Recording("Update operation failed.", remove) || CancelAfterFailure();
}

template <typename T, typename Read>
T CAdoRecordset::ReadField(std::string_view column, const char* context, T failed, Read read)
{
    try {
        return read(m_pRecordset->value(column));
    } catch (const ado::Error& error) {
        RecordError(context, error);
        return failed;
    }
}

std::string CAdoRecordset::GetDF_Text(std::string_view column)
{
    return ReadField<std::string>(column, "GetDF_Text failed.", {}, [](Variant&& v) {
        auto* text = v.getMutable<std::string>();
        return text ? std::move(*text) : std::string();
    });
}

bool CAdoRecordset::GetDF_Boolean(std::string_view column)
{
    return ReadField<bool>(column, "GetDF_Boolean failed.", false,
                           [](const Variant& v) { return static_cast<std::int16_t>(v.rawWord()) != 0; });
}

std::uint8_t CAdoRecordset::GetDF_Byte(std::string_view column)
{
    return ReadField<std::uint8_t>(column, "GetDF_Byte failed.", 0, [](const Variant& v) {
        return v.isEmptyOrNull() ? std::uint8_t(0) : static_cast<std::uint8_t>(v.rawWord());
    });
}

std::int16_t CAdoRecordset::GetDF_Short(std::string_view column)
{
    return ReadField<std::int16_t>(column, "GetDF_Short failed.", 0, [](const Variant& v) {
        return v.isEmptyOrNull() ? std::int16_t(0) : static_cast<std::int16_t>(v.rawWord());
    });
}

std::int32_t CAdoRecordset::GetDF_Long(std::string_view column)
{
    return ReadField<std::int32_t>(column, "GetDF_Long failed.", 0, [](const Variant& v) {
        return v.isEmptyOrNull() ? 0 : static_cast<std::int32_t>(v.rawWord());
    });
}

ole::Currency CAdoRecordset::GetDF_Currency(std::string_view column)
{
    return ReadField<ole::Currency>(column, "GetDF_Currency failed.", ole::Currency(),
                                    [](const Variant& v) { return ole::Currency(v.rawWord()); });
}

ole::DateTime CAdoRecordset::GetDF_DateTime(std::string_view column)
{
    const ole::DateTime failed(0, 0, 0, 0, 0, 0);  // invalid status
    return ReadField<ole::DateTime>(column, "GetDF_DateTime failed.", failed, [](const Variant& v) {
        switch (v.type()) {
        case VarType::Date: return *v.get<ole::DateTime>();
        case VarType::Text: return ole::DateTime::fromIsoText(*v.get<std::string>());
        case VarType::Double: return ole::DateTime(*v.get<double>());
        case VarType::Byte:
        case VarType::Short:
        case VarType::Long:
        case VarType::BigInt: return ole::DateTime(static_cast<double>(v.rawWord()));
        default: return ole::DateTime::invalid();
        }
    });
}

bool CAdoRecordset::PutFieldValue(std::string_view column, const Variant& value)
{
    return Recording("PutFieldValue", [&](ado::Recordset& rs) { rs.setValue(column, value); });
}

bool CAdoRecordset::PutDF_Text(std::string_view column, const std::string& value)
{
    return PutFieldValue(column, value.empty() ? Variant::null() : Variant(value));
}

bool CAdoRecordset::PutDF_Boolean(std::string_view column, bool value) { return PutFieldValue(column, Variant(value)); }

bool CAdoRecordset::PutDF_Byte(std::string_view column, std::uint8_t value) { return PutFieldValue(column, Variant(value)); }

bool CAdoRecordset::PutDF_Short(std::string_view column, std::int16_t value) { return PutFieldValue(column, Variant(value)); }

bool CAdoRecordset::PutDF_Long(std::string_view column, std::int32_t value) { return PutFieldValue(column, Variant(value)); }

bool CAdoRecordset::PutDF_Currency(std::string_view column, const ole::Currency& value)
{
    if (value.status() == ole::ValueStatus::Invalid)
        return false;
    return PutFieldValue(column, value.status() == ole::ValueStatus::Null ? Variant::null() : Variant(value));
}

bool CAdoRecordset::PutDF_DateTime(std::string_view column, const ole::DateTime& value)
{
    if (value.status() == ole::ValueStatus::Invalid)
        return false;
    return PutFieldValue(column, value.status() == ole::ValueStatus::Null ? Variant::null() : Variant(value));
}

bool CAdoRecordset::PutDF_Empty(std::string_view column) { return PutFieldValue(column, Variant()); }

std::size_t CAdoRecordset::SnapshotBytes() const { return m_pRecordset->bytesUsed(); }
