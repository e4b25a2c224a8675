// CAdoRecordset: the one way the system reads and writes rows. It opens a whole table or an SQL
// text on a CADODataBase, keeps a filter, a sort and a find criterion as plain text members,
// reads and writes columns by name through typed getters and setters with fixed null rules,
// navigates and searches. Engine failures are recorded in m_strLastError / m_hrLastError and as
// a value (LastFailure), except in the operations documented as passing them on (IsEOF, IsBOF,
// GetRecordCount, GetBookmark, FindNext, CancelUpdate), which throw the engine's ado::Error.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "dbaccess/AdoFailure.h"
#include "platform/ole/Currency.h"
#include "platform/ole/DateTime.h"
#include "platform/ole/Variant.h"

class CADODataBase;
namespace ado {
class Error;
class Recordset;
}

class CAdoRecordset {
public:
    enum CursorType : int { adOpenKeyset = 1, adOpenStatic = 3 };

    explicit CAdoRecordset(CADODataBase* pDatabase);
    virtual ~CAdoRecordset();
    CAdoRecordset(const CAdoRecordset&) = delete;
    CAdoRecordset& operator=(const CAdoRecordset&) = delete;

    virtual void CancelUpdate();
    virtual std::string GetDefaultSQL();

    [[nodiscard]] bool IsOpen() const;
    // Why the record set is not open, in words for the user: why its connection is closed, else
    // why its last open failed; empty while it is open.
    std::string ClosedReason() const;
    [[nodiscard]] bool OpenTable(const std::string& strTable);
    [[nodiscard]] bool OpenQuery(const std::string& strSQL, int nCursorType = adOpenStatic);
    std::string BuildQuery(const std::string& strSQL);
    void Close();

    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    [[nodiscard]] bool MoveTo(long nRow);
    [[nodiscard]] bool IsEOF() const;
    [[nodiscard]] bool IsBOF() const;
    long GetRecordCount() const;
    ole::Variant GetBookmark() const;
    [[nodiscard]] bool SetBookmark(const ole::Variant& bookmark);  // false when it names no row (nothing moves)
    [[nodiscard]] bool SetSort(const std::string& strSort, bool bRemember);

    [[nodiscard]] bool FindFirst();
    [[nodiscard]] bool FindNext();
    std::string LookupText(std::string_view keyColumn, std::int16_t nKey, std::string_view textColumn);

    [[nodiscard]] bool AddNew();  // false, with the failure recorded, when no new row can be started
    [[nodiscard]] bool Update();
    [[nodiscard]] bool Delete();

    std::string GetDF_Text(std::string_view column);
    [[nodiscard]] bool GetDF_Boolean(std::string_view column);
    std::uint8_t GetDF_Byte(std::string_view column);
    std::int16_t GetDF_Short(std::string_view column);
    [[nodiscard]] std::int32_t GetDF_Long(std::string_view column);
    ole::Currency GetDF_Currency(std::string_view column);
    ole::DateTime GetDF_DateTime(std::string_view column);

    [[nodiscard]] bool PutDF_Text(std::string_view column, const std::string& value);
    [[nodiscard]] bool PutDF_Boolean(std::string_view column, bool value);
    [[nodiscard]] bool PutDF_Byte(std::string_view column, std::uint8_t value);
    [[nodiscard]] bool PutDF_Short(std::string_view column, std::int16_t value);
    [[nodiscard]] bool PutDF_Long(std::string_view column, std::int32_t value);
    [[nodiscard]] bool PutDF_Currency(std::string_view column, const ole::Currency& value);
    [[nodiscard]] bool PutDF_DateTime(std::string_view column, const ole::DateTime& value);
    [[nodiscard]] bool PutFieldValue(std::string_view column, const ole::Variant& value);
    [[nodiscard]] bool PutDF_Empty(std::string_view column);

    // While a RowPeek lives, the getters read the row its bookmark names; the position and a
    // pending edit are left alone. Valid() is false when the bookmark names no live row.
    class RowPeek {
    public:
        RowPeek(CAdoRecordset& rs, const ole::Variant& bookmark);
        ~RowPeek();
        RowPeek(const RowPeek&) = delete;
        RowPeek& operator=(const RowPeek&) = delete;
        [[nodiscard]] bool Valid() const { return m_bValid; }

    private:
        CAdoRecordset& m_rs;
        bool m_bValid = false;
    };

    CADODataBase* GetDatabase() const { return m_pDatabase; }
    // The last recorded failure (empty until the first).
    const AdoFailure& LastFailure() const { return m_LastFailure; }
    // Bytes held by the snapshot while open (for measurements).
    std::size_t SnapshotBytes() const;

private:
    void RecordError(const std::string& context, const ado::Error& error);
    [[nodiscard]] bool CanOpen() const;
    [[nodiscard]] bool CancelAfterFailure();  // drops the pending row after a failed store; answers false
    // Runs one engine operation; a failure is recorded under context and answers false.
    template <typename Operation> bool Recording(const std::string& context, Operation operation);
    template <typename T, typename Read> T ReadField(std::string_view column, const char* context, T failed, Read read);

    std::unique_ptr<ado::Recordset> m_pRecordset;  // the engine record set
    AdoFailure m_LastFailure;                      // the last recorded failure, as a value

public:
    std::string m_strFilter;        // row condition of the next open; empty = none
    std::string m_strSort;          // column list of the next open; empty = none
    std::string m_strFind;          // criterion of FindFirst / FindNext

private:
    CADODataBase* m_pDatabase;      // not owned; must outlive the record set

public:
    std::string m_strLastError;     // last error report
    std::int32_t m_hrLastError = 0; // code of the last recorded failure; 0 until the first
};
