// palm_interop_writer DIR: one whole synchronisation on the handheld directory DIR against a
// fresh desktop database (built from the schema in a temporary folder and given a few lookup
// rows), so the Perl cross-check can read with Palm::PDB every file the engine wrote. Prints the
// results and the number of imported expenses; exits 1 when either step failed.
#include <iostream>

#include "conduit/sync/CSyncContext.h"
#include "platform/palm/HotSyncHost.h"
#include "tests/support/TestDatabase.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: palm_interop_writer HANDHELD_DIR\n";
        return 2;
    }
    try {
        TestDatabase db;
        db.exec("INSERT INTO lkpAccounts (AcctCode) VALUES ('VISA');"
                "INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpComp) VALUES (10, 'Car', 1), (11, 'Meal', 2);"
                "INSERT INTO lkpExpCategories (ExpType, ExpCat) VALUES (10, 'Fuel'), (11, 'Lunch');"
                "INSERT INTO Projects (ProjectID, ProjectName, Active) VALUES (1234567, 'Caf\u00e9', TRUE);"
                "UPDATE QlVersion SET Major=7 WHERE AppCode='PalmUpdt';");
        if (HotSyncConnect(argv[1]) != 0) {
            std::cerr << "cannot connect " << argv[1] << "\n";
            return 1;
        }
        CSyncContext context;
        context.m_strDBPath = db.path();
        const std::int32_t imported = context.ImportExpenses();
        const std::int32_t pushed = imported == 0 && context.m_bLookupsChanged ? context.PushLookups() : -2;
        context.m_db.Close();
        HotSyncDisconnect();
        std::cout << "import " << imported << " push " << pushed << " expenses " << db.count("Expenses") << "\n";
        return imported == 0 && pushed == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
}
