// Writes a handheld directory holding the handheld application (version 1) and N expense
// records, for the import benchmark. Usage: make_handheld DIR N
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include "conduit/handheld/HHExpense.h"
#include "platform/palm/PalmBytes.h"
#include "platform/palm/PalmDatabaseFile.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_handheld DIR N\n");
        return 2;
    }
    const std::string dir = argv[1];
    const long count = std::atol(argv[2]);
    ::mkdir(dir.c_str(), 0755);
    std::string error;

    auto application = palm::PalmDatabaseFile::Create("Quillmar", palm::FourCC("appl"), palm::FourCC("Qlmr"),
                                                      palm::kAttrResDB | palm::kAttrBackup);
    const std::string version = "1.0,1";
    application.PutResource(palm::FourCC("tver"), 1, std::vector<std::uint8_t>(version.begin(), version.end() + 1));
    if (!application.Save(dir + "/Quillmar.prc", error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }

    auto expenses = palm::PalmDatabaseFile::Create("Qlmr-Expenses", palm::FourCC("DATA"), palm::FourCC("Qlmr"), palm::kAttrBackup);
    const char* const items[] = {"Taxi", "Lunch", "Hotel", "Fuel", "Parking"};
    const char* const categories[] = {"TAXI", "LUNCH", "HOTEL", "FUEL", "PARKING"};
    for (long i = 0; i < count; ++i) {
        hh::HHExpense e;
        e.wExpType = static_cast<std::uint16_t>(10 + i % 10);
        e.dwDate = static_cast<std::uint32_t>(20260101 + (i % 12) * 100 + i % 28);
        e.dwAmount = static_cast<std::uint32_t>(100 + (i * 37) % 50000);
        e.dwProjectID = static_cast<std::uint32_t>(105 + i % 5);
        e.bExpComp = static_cast<std::uint8_t>(i % 2 ? 2 : 1);
        e.bReimburse = static_cast<std::uint8_t>(i % 3 == 0);
        e.item = items[i % 5];
        e.category = categories[i % 5];
        e.vendor = "Vendor";
        e.account = "VISA";
        e.checkNumber = "";
        e.detail = "Entered on the road";
        std::vector<std::uint8_t> record(hh::kExpenseBufferSize);
        record.resize(hh::PackExpense(e, record));
        expenses.AppendRecord(0x40, std::move(record));
    }
    if (!expenses.Save(dir + "/Qlmr-Expenses.pdb", error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
