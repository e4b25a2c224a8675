// The version rows: format check, lookup-version counter and its delivery mark.
#include "database/QlVersion.h"

#include "database/ExpenseSchema.h"

namespace col = schema::version;

namespace {

constexpr std::int16_t kLastLookupVersion = 10000;  // the counter runs 1..10000 and never becomes 0

}  // namespace

QlVersion::QlVersion(CADODataBase& db) : m_rs(&db) {}

bool QlVersion::FindRow(const char* criterion)
{
    if (!m_rs.IsOpen() && !m_rs.OpenTable(col::kTable))
        return false;
    m_rs.m_strFind = criterion;
    return m_rs.FindFirst();
}

QlVersion::Format QlVersion::CheckFormat()
{
    if (!m_rs.IsOpen() && !m_rs.OpenTable(col::kTable))
        return Format::Unreadable;
    if (!FindRow(col::kFormatRow) || m_rs.GetDF_Short(col::kMajor) < 1)
        return Format::Refused;
    return Format::Accepted;
}

std::optional<std::uint16_t> QlVersion::LookupVersion()
{
    if (!FindRow(col::kLookupRow))
        return std::nullopt;
    return static_cast<std::uint16_t>(m_rs.GetDF_Short(col::kMajor));
}

bool QlVersion::Bump()
{
    if (!FindRow(col::kLookupRow))
        return false;
    if (m_rs.GetDF_Short(col::kMinor) == 0)
        return true;  // a newer version already waits for the handheld
    auto major = static_cast<std::int16_t>(m_rs.GetDF_Short(col::kMajor) + 1);
    if (major > kLastLookupVersion)
        major = 1;
    if (m_rs.PutDF_Short(col::kMajor, major) && m_rs.PutDF_Short(col::kMinor, 0))
        return m_rs.Update();
    m_rs.CancelUpdate();
    return false;
}

bool QlVersion::MarkDelivered()
{
    if (!FindRow(col::kLookupRow))
        return false;
    if (m_rs.PutDF_Short(col::kMinor, 1))
        return m_rs.Update();
    m_rs.CancelUpdate();
    return false;
}
