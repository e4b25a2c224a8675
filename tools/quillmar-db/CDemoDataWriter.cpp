// Demo data generation with prepared statements in one transaction, into a new database file.
#include "tools/quillmar-db/CDemoDataWriter.h"

#include <algorithm>
#include <ctime>
#include <random>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

#include "database/CDatabaseCreator.h"
#include "dbaccess/CADODataBase.h"
#include "platform/ado/DatabaseCreator.h"
#include "platform/ado/Error.h"
#include "platform/ado/SqliteHandle.h"
#include "platform/ado/Statement.h"
#include "platform/ole/DateTime.h"

namespace {

struct TypeSpec {
    std::int16_t type;                       // ExpType
    const char* label;                       // ExpLabel, at most 4 characters
    const char* description;                 // ExpDesc
    std::uint8_t composition;                // ExpComp: 1 by year, 2 reimbursable by project
    int minCents, maxCents;                  // typical amount range
    std::vector<const char*> categories;     // ExpCat names, at most 8 characters
    std::vector<const char*> items;          // Item texts, at most 20 characters
    std::vector<const char*> vendors;        // Vendor texts, at most 20 characters
};

const std::vector<TypeSpec>& userTypes()
{
    static const std::vector<TypeSpec> types = {
        {10, "TRVL", "Travel (general)", 2, 500, 25000, {"TAXI", "PARKING", "TOLLS", "TRAIN"},
         {"Taxi to airport", "Parking garage", "Toll road", "Train ticket"}, {"Yellow Cab", "City Parking", "E-ZPass", "Amtrak"}},
        {11, "MEAL", "Meals with clients", 2, 800, 18000, {"LUNCH", "DINNER", "BREAKFST"},
         {"Client lunch", "Team dinner", "Working breakfast"}, {"Bistro Nord", "Olive Garden", "Cafe Lume", "Sushi Den"}},
        {12, "LODG", "Lodging", 2, 8000, 60000, {"HOTEL", "MOTEL"},
         {"Hotel, 2 nights", "Hotel, 1 night", "Motel"}, {"Marriott", "Hilton", "Motel 6", "Hyatt"}},
        {13, "AIR", "Airfare", 2, 15000, 95000, {"DOMESTIC", "INTL", "BAGGAGE"},
         {"Round trip", "One way", "Checked bag fee"}, {"Delta", "United", "Southwest", "Lufthansa"}},
        {14, "CAR", "Car rental", 2, 4000, 40000, {"RENTAL", "FUEL"},
         {"Compact car, 3 days", "Refuel rental"}, {"Hertz", "Avis", "Shell", "Enterprise"}},
        {15, "MILE", "Mileage", 2, 1000, 12000, {"MILEAGE"},
         {"Site visit mileage", "Client visit miles"}, {"Own car"}},
        {16, "CONF", "Conferences and seminars", 2, 9000, 150000, {"FEES", "MATERIAL"},
         {"Registration fee", "Workshop materials"}, {"Eventbrite", "IEEE", "PMI"}},
        {17, "SUPP", "Project supplies", 2, 300, 30000, {"PAPER", "PRINTING", "HARDWARE"},
         {"Printer paper", "Poster printing", "USB drives"}, {"Staples", "FedEx Office", "Best Buy"}},
        {18, "PHON", "Phone and internet", 2, 1500, 9000, {"MOBILE", "INTERNET"},
         {"Roaming charges", "Hotel wifi"}, {"Verizon", "AT&T", "Boingo"}},
        {19, "SHIP", "Shipping and courier", 2, 800, 12000, {"COURIER", "POSTAGE"},
         {"Overnight package", "Postage"}, {"FedEx", "UPS", "USPS"}},
        {20, "OFFC", "Home office", 1, 500, 40000, {"FURNITUR", "SUPPLIES", "SOFTWARE"},
         {"Desk chair", "Ink cartridges", "Software license"}, {"IKEA", "Staples", "Adobe"}},
        {21, "UTIL", "Utilities", 1, 3000, 25000, {"ELECTRIC", "GAS", "WATER"},
         {"Electric bill", "Gas bill", "Water bill"}, {"City Power", "Metro Gas", "Water Dept"}},
        {22, "INS", "Insurance", 1, 5000, 120000, {"AUTO", "HOME", "LIFE"},
         {"Auto premium", "Homeowner premium", "Term life premium"}, {"State Farm", "Allstate", "MetLife"}},
        {23, "MED", "Medical", 1, 1500, 50000, {"DOCTOR", "DENTAL", "PHARMACY"},
         {"Office visit co-pay", "Dental cleaning", "Prescription"}, {"Dr. Alvarez", "Smile Dental", "CVS"}},
        {24, "CHAR", "Charitable gifts", 1, 1000, 50000, {"CASH", "GOODS"},
         {"Annual pledge", "Donated clothing"}, {"Red Cross", "Goodwill", "United Way"}},
        {25, "AUTO", "Auto maintenance", 1, 2500, 90000, {"SERVICE", "TIRES", "REPAIR"},
         {"Oil change", "Four new tires", "Brake repair"}, {"Jiffy Lube", "Discount Tire", "Main St Garage"}},
        {26, "HOME", "Home repair", 1, 2000, 200000, {"PLUMBING", "ROOF", "PAINT"},
         {"Leaky faucet", "Roof patch", "Exterior paint"}, {"Joe's Plumbing", "Top Roofing", "Home Depot"}},
        {27, "EDUC", "Education", 1, 5000, 300000, {"TUITION", "BOOKS"},
         {"Evening course", "Textbooks"}, {"State College", "Amazon"}},
        {28, "SUBS", "Subscriptions", 1, 500, 15000, {"NEWS", "STREAM", "MAGAZINE"},
         {"Newspaper", "Streaming service", "Trade magazine"}, {"NY Times", "Netflix", "Wired"}},
        {29, "DUES", "Professional dues", 1, 5000, 40000, {"ASSOC", "LICENSE"},
         {"Association dues", "License renewal"}, {"ACM", "State Board"}},
        {30, "GIFT", "Gifts", 1, 1500, 25000, {"BIRTHDAY", "HOLIDAY"},
         {"Birthday gift", "Holiday presents"}, {"Macy's", "Etsy", "Target"}},
        {31, "PET", "Pet care", 1, 2000, 60000, {"VET", "FOOD"},
         {"Vet check-up", "Dog food"}, {"Animal Clinic", "PetSmart"}},
        {32, "GROC", "Groceries", 1, 2000, 30000, {"WEEKLY", "BULK"},
         {"Weekly groceries", "Warehouse run"}, {"Kroger", "Costco", "Whole Foods"}},
        {33, "ENT", "Entertainment", 1, 1000, 20000, {"MOVIES", "CONCERT", "SPORTS"},
         {"Movie night", "Concert tickets", "Ball game"}, {"AMC", "Ticketmaster", "StubHub"}},
        {34, "CLTH", "Clothing", 1, 1500, 30000, {"WORK", "CASUAL"},
         {"Work shirts", "Jeans"}, {"Gap", "Nordstrom", "Uniqlo"}},
        {35, "TECH", "Computer equipment", 1, 2000, 250000, {"HARDWARE", "REPAIR"},
         {"Laptop", "Screen repair", "Keyboard"}, {"Apple", "Dell", "Micro Center"}},
        {36, "BANK", "Bank fees", 1, 200, 5000, {"FEES", "INTEREST"},
         {"Monthly fee", "Overdraft charge"}, {"First National", "Chase"}},
        {37, "LEGL", "Legal and accounting", 1, 10000, 150000, {"TAXPREP", "ATTORNEY"},
         {"Tax preparation", "Will review"}, {"H&R Block", "Smith & Lee LLP"}},
    };
    return types;
}

struct ProjectSpec {
    std::int32_t id;          // ProjectID
    const char* name;         // ProjectName, at most 16 characters
    const char* description;  // ProjectDesc
    bool active;              // Active
};

const std::vector<ProjectSpec>& projects()
{
    static const std::vector<ProjectSpec> list = {
        {101, "Acme rollout", "Acme Corp. system rollout", false},
        {102, "Birch audit", "Annual audit for Birch & Sons", false},
        {103, "Cobalt pilot", "Cobalt Mining pilot study", false},
        {104, "Delta training", "Delta Freight staff training", false},
        {105, "Elm St. clinic", "Elm Street clinic renovation consulting", true},
        {106, "Fjord launch", "Fjord Outdoor product launch", true},
        {107, "Granite ERP", "Granite Bank ERP migration", true},
        {108, "Harbor survey", "Harbor Authority customer survey", true},
        {109, "Iris redesign", "Iris Publishing web redesign", true},
        {110, "Juniper bid", "Juniper County tender preparation", false},
        {111, "Kestrel QA", "Kestrel Avionics quality review", true},
        {112, "Lumen study", "Lumen Energy feasibility study", true},
    };
    return list;
}

const char* const kAccounts[][2] = {
    {"VISA", "Visa card"}, {"MC", "MasterCard"}, {"AMEX", "American Express"},
    {"CHK", "Checking account"}, {"DEBT", "Debit card"},
};

const char* const kDetails[] = {
    "Paid in full",
    "Receipt in folder",
    "Split with colleague, my share only",
    "Reimbursement form filed",
    "Discussed next quarter's schedule",
    "Quote: \"best price in town\", per vendor",
    "Includes tip and tax",
    "Annual renewal",
    "Price matched, refund of difference pending",
    "Café order, receipt in French",
};

class Random {
public:
    explicit Random(std::uint32_t seed) : m_engine(seed) {}
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_engine); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(m_engine) < p; }
    template <typename T> const T& pick(const std::vector<T>& list) { return list[static_cast<std::size_t>(between(0, static_cast<int>(list.size()) - 1))]; }

private:
    std::mt19937 m_engine;  // deterministic for a given seed
};

int currentYear()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

void writeLookups(sqlite3* db)
{
    ado::Statement type(db, "INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES (?, ?, ?, ?)");
    ado::Statement category(db, "INSERT INTO lkpExpCategories (ExpType, ExpCat, CatDesc) VALUES (?, ?, ?)");
    for (const TypeSpec& entry : userTypes()) {
        type.reset();
        type.bind(1, ole::Variant(entry.type));
        type.bind(2, ole::Variant(entry.label));
        type.bind(3, ole::Variant(entry.description));
        type.bind(4, ole::Variant(entry.composition));
        type.step();
        for (const char* name : entry.categories) {
            category.reset();
            category.bind(1, ole::Variant(entry.type));
            category.bind(2, ole::Variant(name));
            category.bind(3, ole::Variant(std::string(entry.description) + ": " + name));
            category.step();
        }
    }
    ado::executeSql(db, "INSERT INTO lkpExpCategories (ExpType, ExpCat, CatDesc) VALUES "
                        "(0, 'PROPTAX', 'Property tax'), (0, 'MORTINT', 'Mortgage interest'), "
                        "(0, 'CHARITY', 'Deductible gifts'), (1, 'STATE', 'State estimated tax')");

    ado::Statement account(db, "INSERT INTO lkpAccounts (AcctCode, AcctDesc) VALUES (?, ?)");
    for (const auto& row : kAccounts) {
        account.reset();
        account.bind(1, ole::Variant(row[0]));
        account.bind(2, ole::Variant(row[1]));
        account.step();
    }
    ado::Statement project(db, "INSERT INTO Projects (ProjectID, ProjectName, ProjectDesc, Active) VALUES (?, ?, ?, ?)");
    for (const ProjectSpec& entry : projects()) {
        project.reset();
        project.bind(1, ole::Variant(entry.id));
        project.bind(2, ole::Variant(entry.name));
        project.bind(3, ole::Variant(entry.description));
        project.bind(4, ole::Variant(entry.active));
        project.step();
    }
}

struct ExpenseRow {
    std::int16_t type = 0;
    std::string category, item, detail, vendor, check, account;
    ole::DateTime date;
    std::int64_t cents = 0;
    bool reimburse = false;
    std::int16_t status = 0;
    std::int32_t project = 0;
    std::uint8_t composition = 0;
};

ExpenseRow makeExpense(Random& random, const ole::DateTime& date, int lastYear, int& checkNumber)
{
    ExpenseRow row;
    row.date = date;
    const int year = date.year();
    const int roll = random.between(1, 100);
    if (roll <= 10) {  // built-in tax-deductible type
        static const std::vector<const char*> categories = {"GENERAL", "PROPTAX", "MORTINT", "CHARITY"};
        row.type = 0;
        row.category = random.pick(categories);
        row.item = row.category == "PROPTAX" ? "County property tax" : "Deductible expense";
        row.vendor = "County Treasurer";
        row.cents = random.between(2000, 250000);
        row.project = year;
    } else if (roll <= 13) {  // estimated tax payments
        row.type = 1;
        row.category = random.chance(0.7) ? "FEDERAL" : "STATE";
        row.item = "Quarterly payment";
        row.vendor = row.category == "FEDERAL" ? "IRS" : "Dept of Revenue";
        row.cents = random.between(50000, 400000);
        row.project = year;
    } else {
        const TypeSpec& entry = random.pick(userTypes());
        row.type = entry.type;
        row.composition = entry.composition;
        // Items are listed in the order of their categories, so they stay plausible together.
        const int category = random.between(0, static_cast<int>(entry.categories.size()) - 1);
        row.category = entry.categories[static_cast<std::size_t>(category)];
        row.item = entry.items[static_cast<std::size_t>(category) % entry.items.size()];
        row.vendor = random.pick(entry.vendors);
        row.cents = random.between(entry.minCents, entry.maxCents);
        if (entry.composition == 2) {
            row.project = random.pick(projects()).id;
            row.reimburse = random.chance(0.8);
            // Older expenses have mostly been paid back; recent ones are incurred or submitted.
            const int age = lastYear - year;
            if (!row.reimburse)
                row.status = 0;
            else if (random.chance(0.03))
                row.status = 0;
            else if (age >= 2)
                row.status = random.chance(0.9) ? 3 : 2;
            else
                row.status = static_cast<std::int16_t>(random.between(1, 3));
        } else {
            row.project = year;
        }
    }
    if (random.chance(0.01))
        row.cents = -row.cents;  // a refund
    static const std::vector<std::string> accounts = {"CASH", "VISA", "MC", "AMEX", "CHK", "DEBT"};
    row.account = random.pick(accounts);
    if (row.account == "CHK")
        row.check = std::to_string(1000 + (checkNumber++ % 900000));
    static const std::vector<const char*> details(std::begin(kDetails), std::end(kDetails));
    row.detail = random.pick(details);
    return row;
}

void writeExpenses(sqlite3* db, const CDemoDataWriter::Options& options)
{
    const int lastYear = options.lastYear > 0 ? options.lastYear : currentYear();
    const int firstYear = lastYear - 9;
    Random random(options.seed);
    int checkNumber = 0;
    // Entered roughly as they happened: dates first, in order, then a row for each.
    std::vector<double> dates;
    dates.reserve(static_cast<std::size_t>(options.expenses));
    for (long i = 0; i < options.expenses; ++i)
        dates.push_back(ole::DateTime(random.between(firstYear, lastYear), random.between(1, 12),
                                      random.between(1, 28)).days());
    std::sort(dates.begin(), dates.end());

    ado::Statement insert(db, "INSERT INTO Expenses (ExpType, ExpCat, ExpDate, ExpYear, Item, Detail, Vendor, "
                              "ChkNbr, AcctCode, Amount, Reimburse, Status, ProjectID, TypeComp) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    const auto text = [](const std::string& value) { return value.empty() ? ole::Variant::null() : ole::Variant(value); };
    for (const double days : dates) {
        const ExpenseRow row = makeExpense(random, ole::DateTime(days), lastYear, checkNumber);
        insert.reset();
        insert.bind(1, ole::Variant(row.type));
        insert.bind(2, text(row.category));
        insert.bind(3, ole::Variant(row.date));
        insert.bind(4, ole::Variant(static_cast<std::int16_t>(row.date.year())));
        insert.bind(5, text(row.item));
        insert.bind(6, text(row.detail));
        insert.bind(7, text(row.vendor));
        insert.bind(8, text(row.check));
        insert.bind(9, text(row.account));
        insert.bind(10, ole::Variant(ole::Currency::fromCents(row.cents)));
        insert.bind(11, ole::Variant(row.reimburse));
        insert.bind(12, ole::Variant(row.status));
        insert.bind(13, ole::Variant(row.project));
        insert.bind(14, ole::Variant(row.composition));
        insert.step();
    }
}

}  // namespace

void CDemoDataWriter::Fill(sqlite3* db, const Options& options)
{
    if (options.expenses < 0)
        throw std::runtime_error("the number of expenses cannot be negative");
    try {
        ado::executeSql(db, "BEGIN");
        writeLookups(db);
        writeExpenses(db, options);
        ado::executeSql(db, "COMMIT");
    } catch (const ado::Error& error) {
        throw std::runtime_error("cannot write demo data: " + error.description());
    }
}

void CDemoDataWriter::Create(const std::string& path, const Options& options, bool overwrite)
{
    CDatabaseCreator::CheckTarget(path, overwrite);
    ado::DatabaseCreator::createDatabase(CADODataBase::ConnectionString(path), CDatabaseCreator::SchemaSql(), overwrite,
                                         [&](sqlite3* db) { Fill(db, options); });
}
