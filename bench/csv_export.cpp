// Times File > Export... on an open tree: the record sets are opened as the tree opens them
// (expenses in the date order), then the export writes them to a file, as many times as asked.
// Usage: csv_export DATABASE OUT.csv [RUNS]    prints rows and the best write time in seconds
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "database/CsvExport.h"
#include "database/ExpenseSchema.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: csv_export DATABASE OUT.csv [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
    CADODataBase db;
    CAdoRecordset expenses(&db), types(&db), projects(&db), statuses(&db);
    expenses.m_strSort = schema::expenses::kSortByDate;
    statuses.m_strSort = "Status ASC";
    if (!db.Open(argv[1]) || !expenses.OpenTable("Expenses") || !types.OpenTable("lkpExpTypes") ||
        !projects.OpenTable("Projects") || !statuses.OpenTable("lkpExpBillStatus")) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        std::string error;
        if (!CsvExport(types, projects, statuses).Write(expenses, argv[2], error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::printf("rows %ld\nwrite_s %.3f\n", expenses.GetRecordCount(), best);
    return 0;
}
