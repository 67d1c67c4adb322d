#include "program/core/OutlookCheck.h"
#include "tests/support/StandInProcess.h"

#include <gtest/gtest.h>

namespace
{
TEST(OutlookCheck, NoOutlookProcessGivesFalse)
{
    EXPECT_FALSE(IsOutlookRunning());
}

struct ExecutableCase
{
    const char* fileName;
    bool counts;
};

class OutlookExecutableName : public testing::TestWithParam<ExecutableCase>
{
};

TEST_P(OutlookExecutableName, CountsOnlyOutlookExeInAnyLetterCase)
{
    StandInProcess running(GetParam().fileName);
    EXPECT_EQ(GetParam().counts, IsOutlookRunning());
}

INSTANTIATE_TEST_SUITE_P(Table, OutlookExecutableName,
                         testing::Values(ExecutableCase{"OUTLOOK.EXE", true}, ExecutableCase{"Outlook.exe", true},
                                         ExecutableCase{"outlook.exe", true}, ExecutableCase{"outlook.exe.bak", false},
                                         ExecutableCase{"myoutlook.exe", false}, ExecutableCase{"outlook", false},
                                         ExecutableCase{"outlook.ex", false}));

TEST(OutlookCheck, EndedOutlookNoLongerCounts)
{
    {
        StandInProcess running("OUTLOOK.EXE");
        ASSERT_TRUE(IsOutlookRunning());
    }
    EXPECT_FALSE(IsOutlookRunning());
}
} // namespace
