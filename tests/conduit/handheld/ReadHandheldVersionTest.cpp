// The handheld application's version from its 'tver' texts.
#include <gtest/gtest.h>

#include "conduit/handheld/ReadHandheldVersion.h"
#include "platform/palm/PalmBytes.h"
#include "tests/support/TestHandheld.h"

TEST(ReadHandheldVersion, TakesTheNumberAtTheStartOfTheSecondField)
{
    EXPECT_EQ(hh::VersionFromText("1.0"), std::nullopt);
    EXPECT_EQ(hh::VersionFromText("1.0,3"), 3);
    EXPECT_EQ(hh::VersionFromText("1.0,12beta"), 12);
    EXPECT_EQ(hh::VersionFromText("1.0,7,9"), 7);
    EXPECT_EQ(hh::VersionFromText("1.0,beta"), 0);
    EXPECT_EQ(hh::VersionFromText("1.0,"), 0);
    EXPECT_EQ(hh::VersionFromText("1.0,-2"), -2);
    EXPECT_EQ(hh::VersionFromText("1.0,99999999999"), 2147483647);
}

TEST(ReadHandheldVersion, ReadsEveryTverResourceOfTheApplication)
{
    TestHandheld hh;
    EXPECT_EQ(hh::ReadHandheldVersion(), 0) << "no application database";
    hh.putApplication({"1.0"});
    EXPECT_EQ(hh::ReadHandheldVersion(), 0) << "no second field";
    hh.putApplication({"1.0,3"});
    EXPECT_EQ(hh::ReadHandheldVersion(), 3);
    hh.putApplication({"1.0,3", "2.0,12abc"});
    EXPECT_EQ(hh::ReadHandheldVersion(), 12) << "a later tver overrides an earlier one";
    hh.putApplication({"1.0,3", "2.0"});
    EXPECT_EQ(hh::ReadHandheldVersion(), 3) << "one without a second field sets nothing";
    hh.putApplication({"1.0,3", "1.0,5" + std::string(3000, ' ')});
    EXPECT_EQ(hh::ReadHandheldVersion(), 3) << "a resource larger than the buffer is passed over";

    // Other resource types do not count; a text filling the whole buffer stays terminated.
    auto app = hh.load("Quillmar");
    app.PutResource(palm::FourCC("tSTR"), 1, textBytes("9.9,99"));
    app.PutResource(palm::FourCC("tver"), 1, textBytes("1.0,4" + std::string(2043, '0')));
    hh.put(app);
    EXPECT_EQ(hh::ReadHandheldVersion(), 2147483647);
}
