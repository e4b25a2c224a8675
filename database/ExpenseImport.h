// ExpenseImport: expenses read from a file, checked and stored all or none. Quillmar's own CSV
// (the twelve fields File > Export writes) maps field by field, its lookup texts (type label,
// project name, status code) resolved back to the rows of this database. A row that matches an
// expense already stored, or an earlier row of the file, on date, amount and vendor (or item
// when there is no vendor) is marked as a duplicate and left out unless asked for.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "database/CsvReader.h"
#include "database/ExpenseRow.h"
#include "platform/ofx/OfxStatement.h"

class CADODataBase;

class ExpenseImport {
public:
    struct Row {
        long line = 0;          // where it starts in the file
        ExpenseRow expense;
        bool duplicate = false;
        bool ticked = true;     // stored by Store; duplicates start unticked
    };

    // Where a bank's or card's CSV keeps what an expense needs (columns from 0; -1: none).
    struct BankLayout {
        bool header = true;          // the first record names the columns
        int dateColumn = -1, amountColumn = -1, descriptionColumn = -1, vendorColumn = -1, checkColumn = -1;
        std::string dateFormat = "YYYY-MM-DD";  // one of DateFormats()
        bool debitsNegative = true;  // a payment is written with a minus sign (else credits are)
    };
    // What every row of such a file is filed under.
    struct Defaults {
        std::string type;     // ExpLabel
        std::string category;
        std::string account;
        std::string project;  // ProjectName, for a reimbursable type
    };
    static const std::vector<std::string>& DateFormats();
    // The first of DateFormats() a date text reads in, or "" for none.
    static std::string DateFormatOf(const std::string& text);

    // Reads the lookups of db; false with the reason when they cannot be read.
    explicit ExpenseImport(CADODataBase& db) : m_db(db) {}
    [[nodiscard]] bool ReadLookups(std::string& error);

    // The lookups read, for choosing what a bank's rows are filed under.
    std::vector<std::string> TypeLabels() const;
    std::vector<std::string> CategoriesOf(const std::string& typeLabel) const;
    const std::vector<std::string>& Accounts() const { return m_accounts; }
    std::vector<std::string> ProjectNames() const;
    bool IsReimbursable(const std::string& typeLabel) const;
    std::string LabelOf(std::int16_t type) const;  // the type's number when it has no label
    std::string ProjectNameOf(const ExpenseRow& row) const;  // empty unless a reimbursable row's

    // Whether the first record has the twelve fields of Quillmar's export, a date (or none) first.
    static bool IsQuillmarCsv(const std::vector<csv::Record>& records);
    static bool IsQuillmarRecord(const csv::Record& record);
    // The expenses of Quillmar's own CSV, all at once or a record at a time. Throws csv::Error
    // with the line and the reason.
    std::vector<Row> FromQuillmarCsv(const std::vector<csv::Record>& records) const;
    Row FromQuillmarRecord(const csv::Record& record) const;
    // The payments of a bank's CSV as expenses: the description becomes the item (cut to its width,
    // the whole text in the detail); credits are left out and counted. Throws csv::Error.
    std::vector<Row> FromBankCsv(const std::vector<csv::Record>& records, const BankLayout& layout, const Defaults& defaults,
                                 long& credits) const;
    // The payments (negative amounts) of an OFX statement as expenses: name as vendor and item,
    // memo as detail; credits are left out and counted. Throws csv::Error naming the transaction.
    std::vector<Row> FromOfx(const std::vector<ofx::Transaction>& transactions, const Defaults& defaults, long& credits) const;
    // Files one row under other lookups (a change in the preview); false when the type, or the
    // project a reimbursable type needs, is not in this database.
    [[nodiscard]] bool Refile(ExpenseRow& row, const Defaults& filed) const;
    // Marks (and unticks) the rows that repeat a stored expense or an earlier row.
    [[nodiscard]] bool MarkDuplicates(std::vector<Row>& rows, std::string& error) const;
    // Stores the ticked rows in one transaction: all or none. Answers how many were stored.
    [[nodiscard]] bool Store(const std::vector<Row>& rows, long& stored, std::string& error) const;

private:
    struct Type {
        std::int16_t number = 0;
        std::uint8_t composition = 0;
    };
    // A row filed under the defaults (type, category, account, project); throws csv::Error at line.
    ExpenseRow Filed(const Defaults& defaults, long line) const;
    CADODataBase& m_db;
    std::map<std::string, Type> m_types;               // ExpLabel -> type
    std::map<std::string, std::int32_t> m_projects;    // ProjectName -> ProjectID
    std::map<std::string, std::int16_t> m_statuses;    // StatusCode -> Status
    std::multimap<std::int16_t, std::string> m_categories;  // ExpType -> ExpCat
    std::vector<std::string> m_accounts;               // AcctCode
};
