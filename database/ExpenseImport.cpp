// Reading expenses from Quillmar's own CSV, finding duplicates and storing them all or none.
#include "database/ExpenseImport.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cmath>
#include <unordered_set>

#include "database/ExpenseSchema.h"
#include "database/ScopedPageCache.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"

namespace {

enum Field { kDate, kType, kCategory, kItem, kAmount, kReimbursed, kProject, kStatus, kVendor, kAccount, kCheck, kDetail, kFields };

std::size_t CharacterCount(const std::string& text)
{
    std::size_t count = 0;
    for (const unsigned char c : text)
        count += (c & 0xC0) != 0x80;
    return count;
}

// The number of a run of 1 to `most` digits at text[at], moving at past it; -1 when none.
int Digits(const std::string& text, std::size_t& at, std::size_t most)
{
    int number = 0;
    const std::size_t start = at;
    for (; at < text.size() && at - start < most && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
        number = number * 10 + (text[at] - '0');
    return at == start ? -1 : number;
}

// "YYYY/MM/DD" as the export writes it; empty (or the export's "Invalid DateTime") for none.
// The year is given back too, which saves working it out of the date again.
bool ReadDate(const std::string& text, ole::DateTime& date, int& year)
{
    year = -1;
    if (text.empty() || text == "Invalid DateTime") {
        date = ole::DateTime::invalid();
        return true;
    }
    std::size_t at = 0;
    year = Digits(text, at, 4);
    const bool slash1 = at < text.size() && text[at++] == '/';
    const int month = Digits(text, at, 2);
    const bool slash2 = at < text.size() && text[at++] == '/';
    const int day = Digits(text, at, 2);
    if (year < 0 || month < 0 || day < 0 || !slash1 || !slash2 || at != text.size())
        return false;
    date = ole::DateTime(year, month, day);
    return date.isValid();
}

// An amount with a point or a comma before up to four decimals, and an optional minus sign.
bool ReadAmount(const std::string& text, ole::Currency& amount)
{
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    i += negative;
    std::int64_t whole = 0, fraction = 0, scale = ole::Currency::kScale;
    bool digits = false;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, digits = true) {
        if (whole > (INT64_MAX / ole::Currency::kScale - 9) / 10)
            return false;
        whole = whole * 10 + (text[i] - '0');
    }
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        for (++i; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, digits = true) {
            if (scale == 1)
                return false;  // more than four decimals
            scale /= 10;
            fraction += (text[i] - '0') * scale;
        }
    }
    if (!digits || i != text.size())
        return false;
    const std::int64_t raw = whole * ole::Currency::kScale + fraction;
    amount = ole::Currency::fromRaw(negative ? -raw : raw);
    return true;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A bank's amount: a currency sign, blanks and thousands separators allowed; the decimal separator
// is the last point or comma with at most two digits after it; "(12.50)" is negative.
bool ReadBankAmount(std::string text, ole::Currency& amount)
{
    bool negative = false;
    if (text.size() > 1 && text.front() == '(' && text.back() == ')') {
        negative = true;
        text = text.substr(1, text.size() - 2);
    }
    std::string kept;
    for (const char c : text)
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == ',' || c == '-')
            kept += c;
        else if (c != ' ' && c != '$' && c != '\'' && static_cast<unsigned char>(c) < 0x80)
            return false;  // letters and other signs; non-ASCII currency signs and blanks are dropped
    const std::size_t last = kept.find_last_of(".,");
    const bool decimal = last != std::string::npos && kept.size() - last - 1 <= 2;
    std::string plain;
    for (std::size_t i = 0; i < kept.size(); ++i)
        if (kept[i] != '.' && kept[i] != ',')
            plain += kept[i];
        else if (decimal && i == last)
            plain += '.';
    if (!ReadAmount(plain, amount))
        return false;
    if (negative)
        amount = ole::Currency::fromRaw(-amount.raw());
    return true;
}

// A date in one of the offered formats.
bool ReadBankDate(const std::string& text, const std::string& format, ole::DateTime& date)
{
    int parts[3] = {0, 0, 0};
    char separators[2] = {0, 0};
    if (std::sscanf(text.c_str(), "%d%c%d%c%d", &parts[0], &separators[0], &parts[1], &separators[1], &parts[2]) != 5)
        return false;
    const char expected = format[format.find_first_not_of("YMD")];
    if (separators[0] != expected || separators[1] != expected)
        return false;
    const bool yearFirst = format[0] == 'Y', dayFirst = format[0] == 'D';
    const int year = yearFirst ? parts[0] : parts[2];
    const int month = yearFirst ? parts[1] : dayFirst ? parts[1] : parts[0];
    const int day = yearFirst ? parts[2] : dayFirst ? parts[0] : parts[1];
    date = ole::DateTime(year, month, day);
    return date.isValid();
}

// The first `limit` characters of a UTF-8 text.
std::string Cut(const std::string& text, std::size_t limit)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == limit)
            return text.substr(0, i);
    return text;
}

// What a duplicate is told by: the day, the amount and the vendor (or item), case aside. Kept
// as parts, not one text, so that most keys fit without an allocation of their own.
struct DuplicateKey {
    long day = 0;
    std::int64_t amount = 0;
    std::string text;
    bool operator==(const DuplicateKey&) const = default;
};

struct DuplicateKeyHash {
    std::size_t operator()(const DuplicateKey& key) const
    {
        const std::size_t parts = std::hash<std::int64_t>()(key.amount * 1000003 + key.day);
        return std::hash<std::string>()(key.text) ^ (parts + 0x9e3779b97f4a7c15ULL + (parts << 6) + (parts >> 2));
    }
};

DuplicateKey KeyOf(const ExpenseRow& row)
{
    const long day = row.m_dtDate.isValid() ? static_cast<long>(std::floor(row.m_dtDate.days())) : -1000000;
    return {day, row.m_cyAmount.raw(), Lower(row.m_strVendor.empty() ? row.m_strItem : row.m_strVendor)};
}

}  // namespace

bool ExpenseImport::ReadLookups(std::string& error)
{
    const auto read = [&](const char* table, auto take) {
        CAdoRecordset rs(&m_db);
        if (!rs.OpenTable(table)) {
            error = "table " + std::string(table) + " cannot be read: " + rs.LastFailure().description;
            return false;
        }
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
            take(rs);
        return true;
    };
    return read(schema::types::kTable,
                [this](CAdoRecordset& rs) {
                    m_types.emplace(rs.GetDF_Text(schema::types::kExpLabel),
                                    Type{rs.GetDF_Short(schema::types::kExpType), rs.GetDF_Byte(schema::types::kExpComp)});
                }) &&
           read(schema::projects::kTable,
                [this](CAdoRecordset& rs) {
                    m_projects.emplace(rs.GetDF_Text(schema::projects::kProjectName), rs.GetDF_Long(schema::projects::kProjectID));
                }) &&
           read(schema::statuses::kTable,
                [this](CAdoRecordset& rs) {
                    m_statuses.emplace(rs.GetDF_Text(schema::statuses::kStatusCode), rs.GetDF_Short(schema::statuses::kStatus));
                }) &&
           read(schema::categories::kTable,
                [this](CAdoRecordset& rs) {
                    m_categories.emplace(rs.GetDF_Short(schema::categories::kExpType), rs.GetDF_Text(schema::categories::kExpCat));
                }) &&
           read(schema::accounts::kTable, [this](CAdoRecordset& rs) { m_accounts.push_back(rs.GetDF_Text(schema::accounts::kAcctCode)); });
}

std::vector<std::string> ExpenseImport::TypeLabels() const
{
    std::vector<std::pair<std::int16_t, std::string>> types;
    for (const auto& [label, type] : m_types)
        types.emplace_back(type.number, label);
    std::sort(types.begin(), types.end());
    std::vector<std::string> labels;
    for (const auto& [number, label] : types)
        labels.push_back(label);
    return labels;
}

std::vector<std::string> ExpenseImport::CategoriesOf(const std::string& typeLabel) const
{
    std::vector<std::string> categories;
    const auto type = m_types.find(typeLabel);
    if (type == m_types.end())
        return categories;
    const auto [first, last] = m_categories.equal_range(type->second.number);
    for (auto it = first; it != last; ++it)
        categories.push_back(it->second);
    std::sort(categories.begin(), categories.end());
    return categories;
}

std::vector<std::string> ExpenseImport::ProjectNames() const
{
    std::vector<std::string> names;
    for (const auto& [name, id] : m_projects)
        names.push_back(name);
    return names;
}

std::string ExpenseImport::LabelOf(std::int16_t type) const
{
    for (const auto& [label, known] : m_types)
        if (known.number == type)
            return label;
    return std::to_string(type);
}

std::string ExpenseImport::ProjectNameOf(const ExpenseRow& row) const
{
    if (!row.IsReimbursableType())
        return {};
    for (const auto& [name, id] : m_projects)
        if (id == row.m_lProjectID)
            return name;
    return {};
}

bool ExpenseImport::IsReimbursable(const std::string& typeLabel) const
{
    const auto type = m_types.find(typeLabel);
    return type != m_types.end() && type->second.composition == schema::comp::kReimbursable;
}

bool ExpenseImport::IsQuillmarCsv(const std::vector<csv::Record>& records)
{
    // Told by its first line: a later line that breaks the form is refused by its number.
    return !records.empty() && IsQuillmarRecord(records.front());
}

bool ExpenseImport::IsQuillmarRecord(const csv::Record& record)
{
    ole::DateTime date;
    ole::Currency amount;
    int year = 0;
    return record.fields.size() == kFields && ReadDate(record.fields[kDate], date, year) && ReadAmount(record.fields[kAmount], amount);
}

std::vector<ExpenseImport::Row> ExpenseImport::FromQuillmarCsv(const std::vector<csv::Record>& records) const
{
    std::vector<Row> rows;
    rows.reserve(records.size());
    for (const csv::Record& record : records)
        rows.push_back(FromQuillmarRecord(record));
    return rows;
}

ExpenseImport::Row ExpenseImport::FromQuillmarRecord(const csv::Record& record) const
{
    namespace ex = schema::expenses;
    const auto refuse = [&record](const std::string& reason) { throw csv::Error(record.line, reason); };
    if (record.fields.size() != kFields)
        refuse("it has " + std::to_string(record.fields.size()) + " fields, not the 12 of Quillmar's export");
    const auto& f = record.fields;
    Row row{record.line, ExpenseRow(), false, true};
    ExpenseRow& e = row.expense;
    int year = 0;
    if (!ReadDate(f[kDate], e.m_dtDate, year))
        refuse("'" + f[kDate] + "' is not a date (YYYY/MM/DD)");
    if (e.m_dtDate.isValid() && (year < 1900 || year > 2099))
        refuse("the date " + f[kDate] + " is outside the years 1900 to 2099");
    const auto type = m_types.find(f[kType]);
    if (type == m_types.end())
        refuse("the expense type '" + f[kType] + "' is not in this database");
    e.m_nExpType = type->second.number;
    e.m_nTypeComp = type->second.composition;
    if (!ReadAmount(f[kAmount], e.m_cyAmount))
        refuse("the amount '" + f[kAmount] + "' is not a number");
    e.m_bReimburse = f[kReimbursed] == "R";
    if (e.IsReimbursableType()) {
        const auto project = m_projects.find(f[kProject]);
        if (project == m_projects.end())
            refuse("the project '" + f[kProject] + "' is not in this database");
        e.m_lProjectID = project->second;
        if (!f[kStatus].empty()) {
            const auto status = m_statuses.find(f[kStatus]);
            if (status == m_statuses.end())
                refuse("the status '" + f[kStatus] + "' is not in this database");
            e.m_nStatus = status->second;
        }
    }
    const std::pair<std::string ExpenseRow::*, int> texts[] = {
        {&ExpenseRow::m_strExpCat, schema::categories::kCategoryChars}, {&ExpenseRow::m_strItem, ex::kItemChars},
        {&ExpenseRow::m_strVendor, ex::kVendorChars},       {&ExpenseRow::m_strAcctCode, schema::accounts::kCodeChars},
        {&ExpenseRow::m_strChkNbr, ex::kCheckNumberChars},  {&ExpenseRow::m_strDetail, ex::kDetailChars}};
    const Field sources[] = {kCategory, kItem, kVendor, kAccount, kCheck, kDetail};
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        e.*texts[i].first = f[sources[i]];
        if (CharacterCount(f[sources[i]]) > static_cast<std::size_t>(texts[i].second))
            refuse("'" + f[sources[i]] + "' is longer than " + std::to_string(texts[i].second) + " characters");
    }
    return row;
}

const std::vector<std::string>& ExpenseImport::DateFormats()
{
    static const std::vector<std::string> formats = {"YYYY-MM-DD", "MM/DD/YYYY", "DD/MM/YYYY", "DD.MM.YYYY", "YYYY/MM/DD"};
    return formats;
}

std::string ExpenseImport::DateFormatOf(const std::string& text)
{
    ole::DateTime date;
    for (const std::string& format : DateFormats())
        if (ReadBankDate(text, format, date))
            return format;
    return {};
}

ExpenseRow ExpenseImport::Filed(const Defaults& defaults, long line) const
{
    const auto type = m_types.find(defaults.type);
    if (type == m_types.end())
        throw csv::Error(line, "the expense type '" + defaults.type + "' is not in this database");
    ExpenseRow filed;
    filed.m_nExpType = type->second.number;
    filed.m_nTypeComp = type->second.composition;
    filed.m_strExpCat = defaults.category;
    filed.m_strAcctCode = defaults.account;
    if (filed.IsReimbursableType()) {
        const auto project = m_projects.find(defaults.project);
        if (project == m_projects.end())
            throw csv::Error(line, "the project '" + defaults.project + "' is not in this database");
        filed.m_lProjectID = project->second;
    }
    return filed;
}

bool ExpenseImport::Refile(ExpenseRow& row, const Defaults& filed) const
{
    try {
        const ExpenseRow lookups = Filed(filed, 0);
        row.m_nExpType = lookups.m_nExpType;
        row.m_nTypeComp = lookups.m_nTypeComp;
        row.m_strExpCat = lookups.m_strExpCat;
        row.m_strAcctCode = lookups.m_strAcctCode;
        row.m_lProjectID = lookups.m_lProjectID;
        return true;
    } catch (const csv::Error&) {
        return false;
    }
}

std::vector<ExpenseImport::Row> ExpenseImport::FromOfx(const std::vector<ofx::Transaction>& transactions, const Defaults& defaults,
                                                       long& credits) const
{
    namespace ex = schema::expenses;
    if (transactions.empty())
        throw csv::Error(1, "the statement holds no transactions", "transaction");
    const ExpenseRow filed = Filed(defaults, 1);
    std::vector<Row> rows;
    credits = 0;
    for (const ofx::Transaction& t : transactions) {
        const auto refuse = [&t](const std::string& reason) { throw csv::Error(t.number, reason, "transaction"); };
        if (!t.amount.isValid())
            refuse("it has no amount");
        if (t.amount.raw() >= 0) {
            ++credits;
            continue;
        }
        if (!t.posted.isValid())
            refuse("it has no date posted");
        if (t.posted.year() < 1900 || t.posted.year() > 2099)
            refuse("its date " + t.posted.format("%Y-%m-%d") + " is outside the years 1900 to 2099");
        Row row{t.number, filed, false, true};
        ExpenseRow& e = row.expense;
        e.m_dtDate = t.posted;
        e.m_cyAmount = ole::Currency::fromRaw(-t.amount.raw());
        e.m_strVendor = Cut(t.name, ex::kVendorChars);
        e.m_strItem = Cut(t.name.empty() ? t.memo : t.name, ex::kItemChars);
        e.m_strDetail = Cut(t.memo, ex::kDetailChars);
        e.m_strChkNbr = Cut(t.checkNumber, ex::kCheckNumberChars);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<ExpenseImport::Row> ExpenseImport::FromBankCsv(const std::vector<csv::Record>& records, const BankLayout& layout,
                                                           const Defaults& defaults, long& credits) const
{
    namespace ex = schema::expenses;
    const long firstLine = records.empty() ? 1 : records.front().line;
    if (layout.dateColumn < 0 || layout.amountColumn < 0 || layout.descriptionColumn < 0)
        throw csv::Error(firstLine, "the date, amount and description columns must be chosen");
    const ExpenseRow filed = Filed(defaults, firstLine);
    const int widest = std::max({layout.dateColumn, layout.amountColumn, layout.descriptionColumn, layout.vendorColumn, layout.checkColumn});
    std::vector<Row> rows;
    credits = 0;
    for (std::size_t i = layout.header ? 1 : 0; i < records.size(); ++i) {
        const csv::Record& record = records[i];
        const auto refuse = [&record](const std::string& reason) { throw csv::Error(record.line, reason); };
        if (static_cast<int>(record.fields.size()) <= widest)
            refuse("it has " + std::to_string(record.fields.size()) + " fields; column " + std::to_string(widest + 1) + " is needed");
        const auto field = [&record](int column) { return column < 0 ? std::string() : record.fields[static_cast<std::size_t>(column)]; };
        Row row{record.line, filed, false, true};
        ExpenseRow& e = row.expense;
        if (!ReadBankDate(field(layout.dateColumn), layout.dateFormat, e.m_dtDate))
            refuse("'" + field(layout.dateColumn) + "' is not a date in the form " + layout.dateFormat);
        if (e.m_dtDate.year() < 1900 || e.m_dtDate.year() > 2099)
            refuse("the date " + field(layout.dateColumn) + " is outside the years 1900 to 2099");
        ole::Currency amount;
        if (!ReadBankAmount(field(layout.amountColumn), amount))
            refuse("the amount '" + field(layout.amountColumn) + "' is not a number");
        const bool payment = layout.debitsNegative ? amount.raw() < 0 : amount.raw() > 0;
        if (!payment) {
            ++credits;
            continue;
        }
        e.m_cyAmount = ole::Currency::fromRaw(amount.raw() < 0 ? -amount.raw() : amount.raw());
        const std::string description = field(layout.descriptionColumn);
        e.m_strItem = Cut(description, ex::kItemChars);
        e.m_strDetail = Cut(description, ex::kDetailChars);
        e.m_strVendor = Cut(field(layout.vendorColumn), ex::kVendorChars);
        e.m_strChkNbr = Cut(field(layout.checkColumn), ex::kCheckNumberChars);
        rows.push_back(std::move(row));
    }
    return rows;
}

bool ExpenseImport::MarkDuplicates(std::vector<Row>& rows, std::string& error) const
{
    std::unordered_set<DuplicateKey, DuplicateKeyHash> seen;
    CAdoRecordset rs(&m_db);
    // Only the columns a duplicate is told by.
    if (!rs.OpenQuery("SELECT ExpDate, Amount, Vendor, Item FROM Expenses")) {
        error = rs.LastFailure().description;
        return false;
    }
    const std::uint32_t columns = ExpenseRow::ExpDate | ExpenseRow::Amount | ExpenseRow::Vendor | ExpenseRow::Item;
    seen.reserve(static_cast<std::size_t>(rs.GetRecordCount()) + rows.size());
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        seen.insert(KeyOf(ExpenseRow::Read(rs, columns)));
    for (Row& row : rows) {
        row.duplicate = !seen.insert(KeyOf(row.expense)).second;
        row.ticked = !row.duplicate;
    }
    return true;
}

bool ExpenseImport::Store(const std::vector<Row>& rows, long& stored, std::string& error) const
{
    stored = 0;
    const ScopedPageCache cache(m_db);
    CAdoRecordset rs(&m_db);
    rs.m_strFilter = "0=1";  // only adds: none of the stored rows is read
    if (!rs.OpenTable(schema::expenses::kTable) || !m_db.BeginTrans()) {
        error = rs.IsOpen() ? m_db.LastFailure().description : rs.LastFailure().description;
        return false;
    }
    for (const Row& row : rows) {
        if (!row.ticked)
            continue;
        if (!row.expense.StoreNew(rs)) {
            error = "line " + std::to_string(row.line) + " could not be stored: " + rs.LastFailure().description;
            if (!m_db.RollbackTrans())
                error += " The changes could not be undone: " + m_db.LastFailure().description;
            stored = 0;
            return false;
        }
        ++stored;
    }
    if (!m_db.CommitTrans()) {
        error = "the expenses could not be stored: " + m_db.LastFailure().description;
        (void)m_db.RollbackTrans();  // the commit's own failure is the one to report
        stored = 0;
        return false;
    }
    return true;
}
