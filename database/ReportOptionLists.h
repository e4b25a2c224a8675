// ReportOptionLists: what the report options offer, read from the expenses: the types that have
// expenses, the years or projects of a type, and the billing statuses of a type's project. Each
// list comes in the order the options dialog shows it; names come from the view's lookup record
// sets, as the tree's labels do.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CADODataBase;
class CAdoRecordset;

class ReportOptionLists {
public:
    // db: the connection for the lists' own queries. types, projects, statuses: the view's
    // lkpExpTypes, Projects and lkpExpBillStatus record sets (open, not owned; their current
    // rows move).
    ReportOptionLists(CADODataBase& db, CAdoRecordset& types, CAdoRecordset& projects, CAdoRecordset& statuses)
        : m_db(db), m_types(types), m_projects(projects), m_statuses(statuses)
    {
    }

    struct Type {
        std::int16_t number = 0;  // ExpType
        std::string label;        // ExpLabel
        std::string description;  // ExpDesc
    };
    // A year or a project, as offered: its key and the text shown for it.
    struct Key {
        std::int32_t key = 0;  // the year, or the ProjectID
        std::string text;      // the year in digits, or the project's name
    };
    struct Status {
        std::int16_t status = 0;  // Status
        std::string code;         // StatusCode; empty when the status has no row
        std::string description;  // StatDesc; empty when the status has no row
    };

    // The types of the expenses, by number; a type without its lkpExpTypes row is left out.
    std::vector<Type> TypesWithExpenses();
    // The years of type's expenses, ordered by their text.
    std::vector<Key> YearsOf(std::int16_t type);
    // The projects type's expenses are charged to, by name; an ID of 0 or less, one without a
    // Projects row and one without a name are left out.
    std::vector<Key> ProjectsOf(std::int16_t type);
    // The statuses of the expenses of type charged to project, in the order the expenses first
    // show them.
    std::vector<Status> StatusesOf(std::int16_t type, std::int32_t project);

private:
    template <typename Read> void ReadDistinct(const std::string& sql, Read read);

    CADODataBase& m_db;           // the lists' own queries run here
    CAdoRecordset& m_types;       // the view's lkpExpTypes
    CAdoRecordset& m_projects;    // the view's Projects
    CAdoRecordset& m_statuses;    // the view's lkpExpBillStatus
};
