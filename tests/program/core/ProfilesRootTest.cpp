#include "program/core/ProfilesRoot.h"

#include "library/base/TextConversion.h"
#include "tests/support/ProfileTreeBuilder.h"
#include "tests/support/RegistryTools.h"
#include "tests/support/ScratchRegistry.h"

#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace
{
const std::string OldRoot = ProfileTreeBuilder::MessagingSubsystemRoot;
const std::string Office16 = ProfileTreeBuilder::Office16Root;
const std::string Office15 = ProfileTreeBuilder::Office15Root;

struct RootCase
{
    const char* name;
    // Roots holding one profile each, and roots that exist without any.
    std::vector<std::string> withProfile;
    std::vector<std::string> empty;
    std::string expected;
};

std::ostream& operator<<(std::ostream& out, const RootCase& c)
{
    return out << c.name;
}

class RootInForce : public testing::TestWithParam<RootCase>
{
protected:
    ScratchRegistry registry;
};

TEST_P(RootInForce, IsTheFirstRootHoldingAProfile)
{
    for (const std::string& root : GetParam().withProfile)
        ProfileTreeBuilder profile("Outlook", root);
    for (const std::string& root : GetParam().empty)
        CreateKey(root);
    EXPECT_EQ(AnsiToWide(GetParam().expected.c_str()), FindProfilesRoot());
}

INSTANTIATE_TEST_SUITE_P(
    Table, RootInForce,
    testing::Values(RootCase{"NoRootAtAll", {}, {}, OldRoot}, RootCase{"OldRootOnly", {OldRoot}, {}, OldRoot},
                    RootCase{"EmptyOldRootOnly", {}, {OldRoot}, OldRoot},
                    RootCase{"Office16Only", {Office16}, {}, Office16},
                    RootCase{"Office15Only", {Office15}, {}, Office15},
                    RootCase{"Office16BeforeOffice15", {Office15, Office16}, {}, Office16},
                    RootCase{"Office16BeforeTheOldRoot", {OldRoot, Office16}, {}, Office16},
                    RootCase{"Office15BeforeTheOldRoot", {OldRoot, Office15}, {}, Office15},
                    RootCase{"EmptyOffice16PassedOver", {Office15}, {Office16}, Office15},
                    RootCase{"EmptyOfficeRootsPassedOver", {OldRoot}, {Office16, Office15}, OldRoot},
                    RootCase{"EmptyOfficeRootsWithoutOldRoot", {}, {Office16, Office15}, OldRoot}),
    [](const testing::TestParamInfo<RootCase>& info) { return std::string(info.param.name); });

// The list, the analysis and the backup must all work on the profiles seen at
// start: a root that gains profiles during the run does not take over.
TEST(RootOfTheRun, IsDecidedOnceAndKept)
{
    ScratchRegistry registry;
    ProfileTreeBuilder old("Outlook", OldRoot);
    ASSERT_EQ(AnsiToWide(OldRoot.c_str()), GetProfilesRoot());
    ASSERT_EQ(AnsiToWide(OldRoot.c_str()), GetDefaultProfileKey());

    ProfileTreeBuilder office("Outlook", Office16);
    EXPECT_EQ(AnsiToWide(Office16.c_str()), FindProfilesRoot());
    EXPECT_EQ(AnsiToWide(OldRoot.c_str()), GetProfilesRoot());
    EXPECT_EQ(AnsiToWide(OldRoot.c_str()), GetDefaultProfileKey());
}
} // namespace
