// Commands of the handheld tool.
#include "tools/handheld/HandheldTool.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <iomanip>
#include <map>
#include <ostream>
#include <sstream>

#include "conduit/handheld/ConduitPrefs.h"
#include "conduit/handheld/ExpFilterEntry.h"
#include "conduit/handheld/HHExpense.h"
#include "conduit/handheld/HHRecordFormats.h"
#include "conduit/handheld/HandheldConstants.h"
#include "conduit/handheld/HandheldText.h"
#include "database/ExpenseSchema.h"
#include "platform/fs/FolderListing.h"
#include "platform/palm/PalmBytes.h"
#include "platform/palm/PalmDatabaseFile.h"
#include "tools/CommandLine.h"

namespace {

const char* const kMainHelp =
    "Usage: handheld COMMAND DIR [OPTIONS]\n"
    "\n"
    "Stands in for a Palm OS handheld: a directory holding one file per handheld database\n"
    "(NAME.pdb for a record database, NAME.prc for a resource database).\n"
    "\n"
    "Commands:\n"
    "  init DIR [--version N] [--user NAME]   make DIR a handheld with the Quillmar application\n"
    "  add-expense DIR --type T --date YYYYMMDD --amount CENTS [OPTIONS]\n"
    "                                         record an expense in \"Qlmr-Expenses\"\n"
    "  dump DIR                               print every database of the handheld\n"
    "\n"
    "Run 'handheld COMMAND --help' for the options of one command.\n";

const char* const kInitHelp =
    "Usage: handheld init DIR [--version N] [--user NAME]\n"
    "\n"
    "Makes DIR (created when missing) a handheld with the Quillmar application on it: the\n"
    "resource database \"Quillmar\" with the version text \"1.0,N\" in a 'tver' resource, and an\n"
    "empty \"Saved Preferences\" when there is none. Other databases in DIR are left alone.\n"
    "\n"
    "  --version N   the application's version number (default 1; the conduit needs 1 or more)\n"
    "  --user NAME   the handheld's HotSync user name (kept in \"HotSync User\")\n";

const char* const kAddHelp =
    "Usage: handheld add-expense DIR --type T --date YYYYMMDD --amount CENTS [OPTIONS]\n"
    "\n"
    "Appends one expense record to the handheld database \"Qlmr-Expenses\" (created when missing),\n"
    "as the handheld application records it. Texts are stored in the handheld's Windows-1252;\n"
    "characters it lacks become '?'. A record holds at most 256 bytes.\n"
    "\n"
    "  --type T         expense type number (0-65535)\n"
    "  --date YYYYMMDD  date as the number YYYYMMDD (not checked: the conduit stores an\n"
    "                   impossible date as no date)\n"
    "  --amount CENTS   amount in hundredths (0-4294967295)\n"
    "  --project ID     project number (default 0: none)\n"
    "  --comp C         the type's ExpComp code: 0 built-in (the default for types below 10),\n"
    "                   1 ordinary (the default for the others), 2 reimbursable\n"
    "  --reimbursed     the expense was reimbursed\n"
    "  --item TEXT  --category TEXT  --vendor TEXT  --account TEXT  --check TEXT  --detail TEXT\n";

const char* const kDumpHelp =
    "Usage: handheld dump DIR\n"
    "\n"
    "Prints every database of the handheld DIR: its header, then each record or resource. The\n"
    "Quillmar databases are decoded field by field, preferences by creator and id; anything\n"
    "else is shown in hexadecimal. A file that is no sound Palm database is reported and the\n"
    "status is 1. Nothing is written.\n";

std::string quotedText(std::string_view desktopText)
{
    return "\"" + std::string(desktopText) + "\"";
}

std::string quotedHandheld(std::string_view handheldText)
{
    return quotedText(hh::FromHandheldText(handheldText));
}

std::string hex(const std::vector<unsigned char>& data, std::size_t limit = 64)
{
    std::ostringstream text;
    text << std::hex << std::setfill('0');
    for (std::size_t i = 0; i < data.size() && i < limit; ++i)
        text << (i ? " " : "") << std::setw(2) << static_cast<int>(data[i]);
    if (data.size() > limit)
        text << " ...";
    return text.str();
}

std::string hex32(std::uint32_t value, int width)
{
    std::ostringstream text;
    text << "0x" << std::hex << std::setfill('0') << std::setw(width) << value;
    return text.str();
}

std::string date(std::uint32_t palmSeconds)
{
    if (palmSeconds == 0)
        return "never";
    const std::time_t seconds = static_cast<std::time_t>(palm::UnixFromPalmTime(palmSeconds));
    std::tm utc{};
    if (!gmtime_r(&seconds, &utc))
        return "?";
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
}

std::string attributeNames(std::uint16_t attributes)
{
    static const std::pair<std::uint16_t, const char*> kNames[] = {
        {0x0001, "ResDB"}, {0x0002, "ReadOnly"}, {0x0004, "AppInfoDirty"}, {0x0008, "Backup"},
        {0x0010, "OKToInstallNewer"}, {0x0020, "ResetAfterInstall"}, {0x0040, "CopyPrevention"},
        {0x0080, "Stream"}, {0x0100, "Hidden"}, {0x0200, "LaunchableData"}, {0x0400, "Recyclable"},
        {0x0800, "Bundle"}, {0x8000, "Open"}};
    std::string names;
    for (const auto& [bit, name] : kNames)
        if (attributes & bit)
            names += (names.empty() ? "" : "|") + std::string(name);
    return names.empty() ? "none" : names;
}

std::string cents(std::uint32_t amount)
{
    std::ostringstream text;
    text << amount / 100 << '.' << std::setw(2) << std::setfill('0') << amount % 100;
    return text.str();
}

bool saveDatabase(const palm::PalmDatabaseFile& db, const std::string& folder, std::string& error)
{
    const std::string path = folder + "/" + db.m_header.name + (db.IsResourceDatabase() ? ".prc" : ".pdb");
    return db.Save(path, error);
}

}  // namespace

int HandheldTool::usageError(const std::string& message, const char* help)
{
    m_err << "handheld: " << message << "\n\n" << help;
    return 2;
}

int HandheldTool::failure(const std::string& message)
{
    m_err << "handheld: " << message << "\n";
    return 1;
}

int HandheldTool::run(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        return usageError("no command given", kMainHelp);
    const std::string& command = arguments.front();
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "--help" || command == "-h" || command == "help") {
        m_out << kMainHelp;
        return 0;
    }
    if (command == "init")
        return init(rest);
    if (command == "add-expense")
        return addExpense(rest);
    if (command == "dump")
        return dump(rest);
    return usageError("unknown command '" + command + "'", kMainHelp);
}

// ---- init ---------------------------------------------------------------------------------------

int HandheldTool::init(const std::vector<std::string>& arguments)
{
    if (cli::WantsHelp(arguments)) {
        m_out << kInitHelp;
        return 0;
    }
    std::string folder, user;
    bool haveUser = false;
    std::int32_t version = 1;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--version" || argument == "--user") {
            if (i + 1 >= arguments.size())
                return usageError(argument + " needs a value", kInitHelp);
            const std::string& value = arguments[++i];
            if (argument == "--user") {
                user = value;
                haveUser = true;
            } else if (!cli::ParseNumber(value, version) || version < 0) {
                return usageError("'" + value + "' is not a valid version number", kInitHelp);
            }
        } else if (argument.rfind("--", 0) == 0) {
            return usageError("unknown option '" + argument + "'", kInitHelp);
        } else if (folder.empty()) {
            folder = argument;
        } else {
            return usageError("more than one directory given", kInitHelp);
        }
    }
    if (folder.empty())
        return usageError("no handheld directory given", kInitHelp);
    std::error_code ec;
    const bool existed = std::filesystem::exists(folder, ec);
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder, ec))
        return failure("cannot make " + folder + " a directory");
    // A new handheld is the user's alone: a HotSync refuses a folder that others can write.
    if (!existed)
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);

    const std::string versionText = "1.0," + std::to_string(version);
    auto application = palm::PalmDatabaseFile::Create(hh::kApplicationDB, palm::FourCC("appl"), hh::kCreator,
                                                      palm::kAttrResDB | palm::kAttrBackup);
    std::vector<std::uint8_t> text(versionText.begin(), versionText.end());
    text.push_back(0);
    application.PutResource(hh::kVersionResource, 1, std::move(text));
    std::string error;
    if (!saveDatabase(application, folder, error))
        return failure("cannot write the application database: " + error);

    if (!std::filesystem::exists(folder + "/Saved Preferences.prc", ec)) {
        const auto prefs = palm::PalmDatabaseFile::Create("Saved Preferences", palm::FourCC("sprf"),
                                                          palm::FourCC("psys"), palm::kAttrResDB | palm::kAttrBackup);
        if (!saveDatabase(prefs, folder, error))
            return failure("cannot write \"Saved Preferences\": " + error);
    }
    if (haveUser) {
        // A handheld made again keeps the HotSync ID it was given, so its syncs stay its own.
        palm::PalmDatabaseFile userDB;
        if (std::string unread; !palm::PalmDatabaseFile::Load(folder + "/HotSync User.prc", userDB, unread) ||
                                !userDB.IsResourceDatabase())
            userDB = palm::PalmDatabaseFile::Create("HotSync User", palm::FourCC("user"), palm::FourCC("psys"),
                                                    palm::kAttrResDB);
        const std::string name = hh::ToHandheldText(user);
        std::vector<std::uint8_t> data(name.begin(), name.end());
        data.push_back(0);
        userDB.PutResource(palm::FourCC("user"), 0, std::move(data));
        if (!saveDatabase(userDB, folder, error))
            return failure("cannot write \"HotSync User\": " + error);
    }
    m_out << "Handheld " << folder << ": Quillmar version \"" << versionText << "\"";
    if (haveUser)
        m_out << ", user \"" << user << "\"";
    m_out << "\n";
    return 0;
}

// ---- add-expense --------------------------------------------------------------------------------

int HandheldTool::addExpense(const std::vector<std::string>& arguments)
{
    if (cli::WantsHelp(arguments)) {
        m_out << kAddHelp;
        return 0;
    }
    std::string folder;
    std::map<std::string, std::string> texts;  // option -> its text
    std::uint32_t type = 0, date = 0, amount = 0, project = 0, comp = 0;
    bool compGiven = false;
    bool haveType = false, haveDate = false, haveAmount = false;
    std::uint8_t reimbursed = 0;
    static const char* const kTextOptions[] = {"--item", "--category", "--vendor", "--account", "--check", "--detail"};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--reimbursed") {
            reimbursed = 1;
            continue;
        }
        const bool isText = std::find(std::begin(kTextOptions), std::end(kTextOptions), argument) != std::end(kTextOptions);
        const bool isNumber = argument == "--type" || argument == "--date" || argument == "--amount" ||
                              argument == "--project" || argument == "--comp";
        if (isText || isNumber) {
            if (i + 1 >= arguments.size())
                return usageError(argument + " needs a value", kAddHelp);
            const std::string& value = arguments[++i];
            if (isText) {
                texts[argument] = value;
                continue;
            }
            std::uint32_t number = 0;
            const std::uint32_t limit = argument == "--type" ? 0xFFFF : argument == "--comp" ? 0xFF : 0xFFFFFFFF;
            if (!cli::ParseNumber(value, number) || number > limit)
                return usageError("'" + value + "' is not a valid value for " + argument, kAddHelp);
            if (argument == "--type")
                type = number, haveType = true;
            else if (argument == "--date")
                date = number, haveDate = true;
            else if (argument == "--amount")
                amount = number, haveAmount = true;
            else if (argument == "--project")
                project = number;
            else
                comp = number, compGiven = true;
        } else if (argument.rfind("--", 0) == 0) {
            return usageError("unknown option '" + argument + "'", kAddHelp);
        } else if (folder.empty()) {
            folder = argument;
        } else {
            return usageError("more than one directory given", kAddHelp);
        }
    }
    if (folder.empty())
        return usageError("no handheld directory given", kAddHelp);
    if (!haveType || !haveDate || !haveAmount)
        return usageError("--type, --date and --amount are required", kAddHelp);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return failure(folder + " is no handheld directory (make one with 'handheld init')");

    hh::HHExpense expense;
    expense.wExpType = static_cast<std::uint16_t>(type);
    expense.dwDate = date;
    expense.dwAmount = amount;
    expense.dwProjectID = project;
    // As the handheld application records it: the built-in types are composition 0.
    const std::uint8_t builtIn = schema::typerange::IsSystem(type) ? schema::comp::kSystem : schema::comp::kPlain;
    expense.bExpComp = static_cast<std::uint8_t>(compGiven ? comp : builtIn);
    expense.bReimburse = reimbursed;
    expense.item = texts["--item"];
    expense.category = texts["--category"];
    expense.vendor = texts["--vendor"];
    expense.account = texts["--account"];
    expense.checkNumber = texts["--check"];
    expense.detail = texts["--detail"];
    std::uint8_t buffer[hh::kExpenseBufferSize];
    const std::size_t length = hh::PackExpense(expense, buffer);
    if (length == 0)
        return failure("the expense does not fit in a handheld record of 256 bytes; shorten its texts");

    const std::string path = folder + "/" + hh::kExpensesDB + ".pdb";
    palm::PalmDatabaseFile db;
    std::string error;
    if (std::filesystem::exists(path, ec)) {
        if (!palm::PalmDatabaseFile::Load(path, db, error))
            return failure(path + " cannot be read: " + error);
        if (db.IsResourceDatabase())
            return failure(path + " is a resource database");
    } else {
        db = palm::PalmDatabaseFile::Create(hh::kExpensesDB, hh::kDataType, hh::kCreator, palm::kAttrBackup);
    }
    std::uint32_t id = 0;
    if (!db.AppendRecord(palm::kRecAttrDirty, std::vector<std::uint8_t>(buffer, buffer + length), &id))
        return failure(std::string(hh::kExpensesDB) + " is full");
    db.m_header.modificationDate = palm::PalmTimeNow();
    ++db.m_header.modificationNumber;
    if (!db.Save(path, error))
        return failure("cannot write " + path + ": " + error);
    m_out << "Added expense " << db.m_records.size() - 1 << " to " << hh::kExpensesDB << " (unique ID "
          << hex32(id, 6) << ", " << length << " bytes)\n";
    return 0;
}

// ---- dump ---------------------------------------------------------------------------------------

int HandheldTool::dump(const std::vector<std::string>& arguments)
{
    if (cli::WantsHelp(arguments)) {
        m_out << kDumpHelp;
        return 0;
    }
    if (arguments.size() != 1 || arguments.front().rfind("--", 0) == 0)
        return usageError(arguments.empty() ? "no handheld directory given" : "dump takes exactly one directory",
                          kDumpHelp);
    const std::string& folder = arguments.front();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return failure(folder + " is no directory");
    std::vector<std::string> names, files;
    if (std::string unread; !files::ListRegularFiles(folder, names, unread))
        return failure(unread);
    for (const std::string& name : names) {
        const std::string extension = std::filesystem::path(name).extension().string();
        if (extension == ".pdb" || extension == ".prc")
            files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    int status = 0;
    for (const std::string& file : files) {
        palm::PalmDatabaseFile db;
        std::string error;
        if (!palm::PalmDatabaseFile::Load(folder + "/" + file, db, error)) {
            m_err << "handheld: " << file << " is no sound Palm database: " << error << "\n";
            status = 1;
            continue;
        }
        m_out << file << ":\n";
        dumpDatabase(db);
    }
    if (files.empty())
        m_out << "No databases in " << folder << "\n";
    return status;
}

void HandheldTool::dumpDatabase(const palm::PalmDatabaseFile& db)
{
    const palm::PalmDatabaseHeader& h = db.m_header;
    const bool resources = db.IsResourceDatabase();
    m_out << "  " << (resources ? "resource" : "record") << " database " << quotedHandheld(h.name) << ", type "
          << palm::FourCCText(h.type) << ", creator " << palm::FourCCText(h.creator) << ", attributes "
          << hex32(h.attributes, 4) << " (" << attributeNames(h.attributes) << "), version " << h.version << "\n"
          << "  created " << date(h.creationDate) << ", modified " << date(h.modificationDate) << ", backed up "
          << date(h.lastBackupDate) << ", modification number " << h.modificationNumber << "\n";
    if (!db.m_appInfo.empty())
        m_out << "  AppInfo (" << db.m_appInfo.size() << " bytes): " << hex(db.m_appInfo) << "\n";
    if (!db.m_sortInfo.empty())
        m_out << "  SortInfo (" << db.m_sortInfo.size() << " bytes): " << hex(db.m_sortInfo) << "\n";
    if (resources) {
        m_out << "  " << db.m_resources.size() << " resources\n";
        for (const auto& resource : db.m_resources)
            dumpResource(h.name, resource.type, resource.id, resource.data);
        return;
    }
    m_out << "  unique ID seed " << hex32(h.uniqueIDSeed, 6) << ", " << db.m_records.size() << " records\n";
    for (std::size_t i = 0; i < db.m_records.size(); ++i) {
        const palm::PalmRecord& record = db.m_records[i];
        m_out << "  record " << i << " (ID " << hex32(record.uniqueID, 6) << ", attributes "
              << hex32(record.attributes & 0xF0, 2) << ", category " << (record.attributes & 0x0F) << ", "
              << record.data.size() << " bytes): ";
        dumpRecord(h.name, record.data);
    }
}

void HandheldTool::dumpRecord(const std::string& database, const std::vector<unsigned char>& data)
{
    const std::span<const std::uint8_t> bytes(data);
    if (hh::HHAccountRecord account; database == hh::kAccountsDB && hh::UnpackAccountRecord(bytes, account)) {
        m_out << "account " << quotedHandheld(account.code) << "\n";
    } else if (hh::HHExpTypeRecord type; database == hh::kExpTypesDB && hh::UnpackExpTypeRecord(bytes, type)) {
        m_out << "expense type " << type.type << ", ExpComp " << int(type.comp) << ", label "
              << quotedHandheld(type.label) << "\n";
    } else if (hh::HHCategoryRecord category; database == hh::kCategoriesDB && hh::UnpackCategoryRecord(bytes, category)) {
        m_out << "category of type " << category.type << ": " << quotedHandheld(category.category) << "\n";
    } else if (hh::HHProjectRecord project; database == hh::kProjectsDB && hh::UnpackProjectRecord(bytes, project)) {
        m_out << "project " << project.id << ": " << quotedHandheld(project.name) << "\n";
    } else if (hh::HHFilterRecord filter; database == hh::kExpFilterDB && hh::UnpackFilterRecord(bytes, filter)) {
        if (filter.kind == hh::kFilterKindProject)
            m_out << "filter: project " << filter.id << ", label " << quotedHandheld(filter.label) << "\n";
        else
            m_out << "filter: expense type " << filter.kind << " (id " << filter.id << "), label "
                  << quotedHandheld(filter.label) << "\n";
    } else if (database == hh::kExpensesDB && data.size() <= hh::kExpenseBufferSize) {
        hh::HHExpense e;
        hh::UnpackExpense(bytes, e);
        m_out << "expense type " << e.wExpType << ", date " << e.dwDate << ", amount " << cents(e.dwAmount)
              << ", project " << e.dwProjectID << ", TypeComp " << int(e.bExpComp) << ", "
              << (e.bReimburse ? "reimbursed" : "not reimbursed") << "\n"
              << "      item " << quotedText(e.item) << ", category " << quotedText(e.category) << ", vendor "
              << quotedText(e.vendor) << ", account " << quotedText(e.account) << ", cheque "
              << quotedText(e.checkNumber) << ", detail " << quotedText(e.detail) << "\n";
    } else {
        m_out << hex(data) << "\n";
    }
}

void HandheldTool::dumpResource(const std::string& database, std::uint32_t type, std::uint16_t id,
                                const std::vector<unsigned char>& data)
{
    m_out << "  resource " << palm::FourCCText(type) << " " << id << " (" << data.size() << " bytes): ";
    const std::span<const std::uint8_t> bytes(data);
    const bool preferences = database == "Saved Preferences" || database == "Unsaved Preferences";
    if (type == hh::kVersionResource || (database == "HotSync User" && type == palm::FourCC("user"))) {
        m_out << quotedHandheld(hh::TextAt(bytes)) << "\n";
    } else if (preferences && data.size() >= 2) {
        const std::vector<unsigned char> block(data.begin() + 2, data.end());
        m_out << "preference " << palm::FourCCText(type) << " " << id << ", version " << palm::Get2(data.data())
              << ": " << hex(block) << "\n";
        if (type == hh::kCreator && id == hh::kConduitPrefsID && block.size() == hh::kConduitPrefsSize) {
            hh::ConduitPrefs prefs;
            std::uint8_t raw[hh::kConduitPrefsSize];
            std::copy(block.begin(), block.end(), raw);
            hh::UnpackConduitPrefs(raw, prefs);
            m_out << "      conduit: PalmUpdt last sent " << prefs.wPalmUpdt << "; handheld data " << prefs.wAppData
                  << ", " << prefs.dwAppData1 << ", " << prefs.dwAppData2 << "\n";
        }
    } else {
        m_out << hex(data) << "\n";
    }
}
