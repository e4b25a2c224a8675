// The fixture of the synchronisation engine's tests: a schema-built desktop database and a
// connected handheld with the Quillmar application, one synchronisation as the entry point runs
// it, and readers of what it left on both sides.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "conduit/sync/CSyncContext.h"
#include "platform/palm/PalmBytes.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/TestHandheld.h"

using Records = std::vector<std::vector<std::uint8_t>>;

class CSyncContextTest : public ::testing::Test {
protected:
    void SetUp() override { hh.putApplication({"1.0,1"}); }

    // One synchronisation as the entry point runs it for sync type 0.
    std::int32_t sync(bool* pSent = nullptr)
    {
        CSyncContext context;
        context.m_strDBPath = db.path();
        std::int32_t result = context.ImportExpenses();
        const bool send = result == 0 && context.m_bLookupsChanged;
        if (send)
            result = context.PushLookups();
        if (pSent)
            *pSent = send;
        context.m_db.Close();
        return result;
    }

    std::string palmUpdt() const
    {
        return db.scalar("SELECT Major || '/' || Minor FROM QlVersion WHERE AppCode='PalmUpdt'");
    }

    // The 12-byte block of the conduit's preference (empty when there is none).
    std::vector<std::uint8_t> preference() const
    {
        if (!hh.has("Saved Preferences"))
            return {};
        const auto prefs = hh.load("Saved Preferences");
        const palm::PalmResource* resource = prefs.FindResource(palm::FourCC("Qlmr"), 0);
        if (!resource || resource->data.size() < 2)
            return {};
        return std::vector<std::uint8_t>(resource->data.begin() + 2, resource->data.end());
    }

    // Accounts, three user expense types (one reimbursable, one without categories) and three
    // projects, one of them inactive.
    void addLookups() const
    {
        db.exec("INSERT INTO lkpAccounts (AcctCode, AcctDesc) VALUES ('VISA', 'Card');"
                "INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES"
                "  (11, 'Meal', 'Meals', 2), (10, 'Car', 'Car costs', 1), (12, 'Gift', 'Gifts', 1);"
                "INSERT INTO lkpExpCategories (ExpType, ExpCat) VALUES"
                "  (11, 'Lunch'), (10, 'Parking'), (10, 'Fuel');"
                "INSERT INTO Projects (ProjectID, ProjectName, Active) VALUES"
                "  (1234567, 'Alpha', TRUE), (20, 'Beta', FALSE), (5, 'Gamma', TRUE);");
    }

    TestDatabase db;
    TestHandheld hh;
};
