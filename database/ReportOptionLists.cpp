// The report options' lists: distinct values of the expenses, named through the view's lookups.
#include "database/ReportOptionLists.h"

#include <algorithm>

#include "database/ExpenseSchema.h"
#include "dbaccess/CAdoRecordset.h"

namespace expenses = schema::expenses;

namespace {

std::string Equals(const char* column, long long value) { return std::string(column) + "=" + std::to_string(value); }

// The options list years and projects in the order of their texts, as the dialog's list sorts them.
void SortByText(std::vector<ReportOptionLists::Key>& keys)
{
    std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.text < b.text; });
}

}  // namespace

template <typename Read>
void ReportOptionLists::ReadDistinct(const std::string& sql, Read read)
{
    // A list that cannot be read is offered empty.
    CAdoRecordset rs(&m_db);
    if (!rs.OpenQuery(sql))
        return;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        read(rs);
}

std::vector<ReportOptionLists::Type> ReportOptionLists::TypesWithExpenses()
{
    std::vector<Type> types;
    ReadDistinct("SELECT DISTINCT ExpType FROM Expenses", [&](CAdoRecordset& rs) {
        const std::int16_t number = rs.GetDF_Short(expenses::kExpType);
        m_types.m_strFind = Equals(schema::types::kExpType, number);
        if (m_types.FindFirst())
            types.push_back({number, m_types.GetDF_Text(schema::types::kExpLabel),
                             m_types.GetDF_Text(schema::types::kExpDesc)});
    });
    std::stable_sort(types.begin(), types.end(), [](const Type& a, const Type& b) { return a.number < b.number; });
    return types;
}

std::vector<ReportOptionLists::Key> ReportOptionLists::YearsOf(std::int16_t type)
{
    std::vector<Key> years;
    ReadDistinct("SELECT DISTINCT ExpYear FROM Expenses WHERE " + Equals(expenses::kExpType, type),
                 [&](CAdoRecordset& rs) {
                     const std::int16_t year = rs.GetDF_Short(expenses::kExpYear);
                     years.push_back({year, std::to_string(year)});
                 });
    SortByText(years);
    return years;
}

std::vector<ReportOptionLists::Key> ReportOptionLists::ProjectsOf(std::int16_t type)
{
    std::vector<Key> projects;
    ReadDistinct("SELECT DISTINCT ProjectID FROM Expenses WHERE " + Equals(expenses::kExpType, type),
                 [&](CAdoRecordset& rs) {
                     const std::int32_t id = rs.GetDF_Long(expenses::kProjectID);
                     m_projects.m_strFind = Equals(schema::projects::kProjectID, id);
                     if (id <= 0 || !m_projects.FindFirst())
                         return;
                     std::string name = m_projects.GetDF_Text(schema::projects::kProjectName);
                     if (!name.empty())  // nothing to show it by
                         projects.push_back({id, std::move(name)});
                 });
    SortByText(projects);
    return projects;
}

std::vector<ReportOptionLists::Status> ReportOptionLists::StatusesOf(std::int16_t type, std::int32_t project)
{
    namespace statuses = schema::statuses;
    std::vector<Status> found;
    ReadDistinct("SELECT DISTINCT Status FROM Expenses WHERE " + Equals(expenses::kExpType, type) + " AND " +
                     Equals(expenses::kProjectID, project),
                 [&](CAdoRecordset& rs) {
                     const std::int16_t status = rs.GetDF_Short(expenses::kStatus);
                     std::string code = m_statuses.LookupText(statuses::kStatus, status, statuses::kStatusCode);
                     std::string description;
                     if (!code.empty())  // the status record set stands on its row
                         description = m_statuses.GetDF_Text(statuses::kStatDesc);
                     found.push_back({status, std::move(code), std::move(description)});
                 });
    return found;
}
