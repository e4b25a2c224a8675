// Times CAdoRecordset::OpenTable of Expenses in the tree's sort order and one pass reading every
// column of every row through the typed getters, and reports the memory the open snapshot holds.
// Usage: recordset_scan DATABASE [RUNS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/BenchSupport.h"
#include "dbaccess/CADODataBase.h"
#include "dbaccess/CAdoRecordset.h"

namespace {

double seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: recordset_scan DATABASE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    CADODataBase db;
    if (!db.Open(argv[1])) {
        std::fprintf(stderr, "%s\n", db.LastFailure().description.c_str());
        return 1;
    }
    double bestOpen = 1e9, bestScan = 1e9;
    long rows = 0;
    std::size_t snapshotBytes = 0;
    long rssGrowthKiB = 0;
    long long checksum = 0;
    for (int run = 0; run < runs; ++run) {
        const long rssBefore = statusKiB("VmRSS:");
        CAdoRecordset rs(&db);
        rs.m_strSort = "ExpType ASC, ProjectID ASC, ExpDate ASC, ExpCat ASC";
        auto start = std::chrono::steady_clock::now();
        if (!rs.OpenTable("Expenses")) {
            std::fprintf(stderr, "%s\n", rs.LastFailure().description.c_str());
            return 1;
        }
        bestOpen = std::min(bestOpen, seconds(start));
        start = std::chrono::steady_clock::now();
        rows = 0;
        for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext(), ++rows) {
            checksum += rs.GetDF_Long("ExpID") + rs.GetDF_Short("ExpType") + rs.GetDF_Short("ExpYear") +
                        rs.GetDF_Short("Status") + rs.GetDF_Long("ProjectID") + rs.GetDF_Byte("TypeComp") +
                        rs.GetDF_Boolean("Reimburse") + rs.GetDF_Currency("Amount").raw() +
                        static_cast<long long>(rs.GetDF_DateTime("ExpDate").days());
            checksum += static_cast<long long>(rs.GetDF_Text("ExpCat").size() + rs.GetDF_Text("Item").size() +
                                               rs.GetDF_Text("Detail").size() + rs.GetDF_Text("Vendor").size() +
                                               rs.GetDF_Text("ChkNbr").size() + rs.GetDF_Text("AcctCode").size());
        }
        bestScan = std::min(bestScan, seconds(start));
        snapshotBytes = rs.SnapshotBytes();
        rssGrowthKiB = statusKiB("VmRSS:") - rssBefore;
    }
    std::printf("rows %ld\nopen_s %.3f\nscan_s %.3f\ntotal_s %.3f\nsnapshot_bytes_per_row %.0f\n"
                "rss_growth_bytes_per_row %.0f\npeak_rss_mib %.1f\nchecksum %lld\n",
                rows, bestOpen, bestScan, bestOpen + bestScan, rows ? double(snapshotBytes) / rows : 0.0,
                rows ? rssGrowthKiB * 1024.0 / rows : 0.0, statusKiB("VmHWM:") / 1024.0, checksum);
    return 0;
}
