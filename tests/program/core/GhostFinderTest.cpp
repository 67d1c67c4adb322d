#include "library/error/NvException.h"
#include "library/base/UniqueHandle.h"
#include "program/core/GhostFinder.h"
#include "tests/support/LogTail.h"
#include "tests/support/ProfileTreeBuilder.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TempFolder.h"

#include <atomic>
#include <memory>
#include <optional>

#include <gtest/gtest.h>

namespace
{
const char* const ProfileName = "Outlook";

std::string Id(char digit)
{
    return std::string(32, digit);
}

struct FinderCase
{
    const char* name;
    std::string section;
    SectionValues values;
    bool candidate;
};

std::ostream& operator<<(std::ostream& out, const FinderCase& c)
{
    return out << c.name;
}

class GhostCandidate : public testing::TestWithParam<FinderCase>
{
protected:
    LogTail log;
    ScratchRegistry registry;
    ProfileTreeBuilder profile{ProfileName};
};

// One account whose service Id('1') refers to the store Id('2'), itself a
// PST store; the section of the case beside them.
TEST_P(GhostCandidate, IsAnUntiedPstStoreWithADisplayName)
{
    profile.AddAccount("0001", "Jan", Id('1'));
    profile.AddService(Id('1'), Id('2'));
    profile.AddSection(Id('2'), SectionValues().WideDisplayName("Skrzynka").WideProvider("mspst.dll"));
    profile.AddSection(GetParam().section, GetParam().values);
    std::set<std::string> before = profile.Sections();

    std::vector<GhostFinder::Candidate> found = GhostFinder::Find(ProfileName).candidates;

    if (GetParam().candidate)
    {
        ASSERT_EQ(1u, found.size());
        EXPECT_EQ(GetParam().section, found[0].section.Str());
        EXPECT_EQ("Archiwum", found[0].displayName.Str());
    }
    else
    {
        EXPECT_TRUE(found.empty()) << found[0].section.Str();
    }
    EXPECT_EQ(before, profile.Sections());
    EXPECT_TRUE(log.Lines().empty());
}

const SectionValues Store = SectionValues().WideDisplayName("Archiwum").WideProvider("mspst.dll");

INSTANTIATE_TEST_SUITE_P(
    Table, GhostCandidate,
    testing::Values(
        FinderCase{"UntiedStore", Id('a'), Store, true},
        FinderCase{"NarrowFormsAndProviderInCapitals", Id('a'),
                   SectionValues().NarrowDisplayName("Archiwum").NarrowProvider("MSPST.DLL"), true},
        FinderCase{"TiedByReference1", Id('a'), SectionValues(Store).Reference1(Id('2')), false},
        FinderCase{"TiedByReference2", Id('a'), SectionValues(Store).Reference2(Id('1')), false},
        FinderCase{"UntiedOtherProvider", Id('a'),
                   SectionValues().WideDisplayName("Archiwum").WideProvider("emsmdb.dll"), false},
        FinderCase{"WideProviderHidesTheNarrow", Id('a'),
                   SectionValues().WideDisplayName("Archiwum").WideProvider("pstprx.dll").NarrowProvider("mspst.dll"),
                   false},
        FinderCase{"NoDisplayName", Id('a'), SectionValues().WideProvider("mspst.dll"), false},
        FinderCase{"ReservedName", "0a0d020000000000c000000000000046", Store, false}),
    [](const testing::TestParamInfo<FinderCase>& info) { return std::string(info.param.name); });

class GhostFinding : public testing::Test
{
protected:
    ScratchRegistry registry;
    ProfileTreeBuilder profile{ProfileName};
};

TEST_F(GhostFinding, GivesEveryCandidateInRegistryOrderWithItsFile)
{
    TempFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder / "Archiwum.pst", "!BDN"));
    profile.AddAccountsKey();
    profile.AddSection(Id('a'), SectionValues(Store).WidePstPath(folder / "Archiwum.pst"));
    profile.AddSection(Id('b'), SectionValues(Store).WideDisplayName("ARCHIWUM").NarrowPstPath(folder / "Gone.pst"));
    profile.AddSection(Id('c'), Store);

    GhostFinder::Result result = GhostFinder::Find(ProfileName);

    EXPECT_EQ("", result.incomplete.Str());
    EXPECT_TRUE(result.unopenedSections.empty());
    const std::vector<GhostFinder::Candidate>& found = result.candidates;

    ASSERT_EQ(3u, found.size());
    EXPECT_EQ(Id('a'), found[0].section.Str());
    EXPECT_EQ(folder / "Archiwum.pst", found[0].pstPath.Str());
    EXPECT_EQ("ARCHIWUM", found[1].displayName.Str());
    EXPECT_EQ(folder / "Gone.pst", found[1].pstPath.Str());
    EXPECT_EQ("", found[2].pstPath.Str());
    // Reading the profile asks nothing about files: that may wait on the
    // network.
    for (const GhostFinder::Candidate& candidate : found)
        EXPECT_FALSE(candidate.pstFileExists.has_value()) << candidate.section.Str();

    GhostFinder::AskFiles({&result.candidates[0], &result.candidates[1], &result.candidates[2]}, 10000);

    EXPECT_EQ(std::optional<bool>(true), found[0].pstFileExists);
    EXPECT_EQ(std::optional<bool>(false), found[1].pstFileExists);
    EXPECT_FALSE(found[2].pstFileExists.has_value());
}

// A file on a server that is gone answers only when the network gives up:
// the others are answered, and it stays unknown once the bound has passed.
TEST(GhostFinderFiles, QuestionThatDoesNotAnswerInTimeLeavesOnlyItsFileUnknown)
{
    auto release = std::make_shared<UniqueKernelHandle>(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(release->IsValid());
    std::vector<GhostFinder::Candidate> candidates = {{Id('a').c_str(), "A", "\\\\gone\\a.pst", std::nullopt},
                                                      {Id('b').c_str(), "B", "C:\\here.pst", std::nullopt},
                                                      {Id('c').c_str(), "C", "C:\\gone.pst", std::nullopt}};
    auto exists = [release](const CString& path) {
        if (path.Left(2) == "\\\\")
            WaitForSingleObject(release->Get(), INFINITE);
        return path == "C:\\here.pst";
    };

    GhostFinder::AskFiles({&candidates[0], &candidates[1], &candidates[2]}, 200, exists);
    SetEvent(release->Get());

    EXPECT_FALSE(candidates[0].pstFileExists.has_value());
    EXPECT_EQ(std::optional<bool>(true), candidates[1].pstFileExists);
    EXPECT_EQ(std::optional<bool>(false), candidates[2].pstFileExists);
}

// A store tied only through an account that cannot be read looks like a
// ghost: the result says that it is not to be trusted, and why, yet still
// gives what it found.
TEST_F(GhostFinding, UnreadableAccountMakesTheReadingIncompleteAndSaysWhich)
{
    profile.AddAccount("0001", "Jan", Id('1'));
    profile.AddService(Id('1'), Id('2'));
    profile.SetValue(std::string(ProfileTreeBuilder::AccountsKey) + "\\0002", "Account Name", REG_SZ,
                     std::string("Ewa\0", 4));
    profile.AddSection(Id('a'), Store);

    GhostFinder::Result result = GhostFinder::Find(ProfileName);

    EXPECT_EQ("the account key \"0002\" cannot be read", result.incomplete.Str());
    ASSERT_EQ(1u, result.candidates.size());
    EXPECT_EQ(Id('a'), result.candidates[0].section.Str());
}

// A section that does not open changes no other section's ties: the others
// are judged, and it is named.
TEST_F(GhostFinding, SectionThatDoesNotOpenIsNamedAndTheOthersStand)
{
    profile.AddAccountsKey();
    profile.AddKey(L"\u6587");
    profile.AddSection(Id('a'), Store);

    GhostFinder::Result result = GhostFinder::Find(ProfileName);

    EXPECT_EQ("", result.incomplete.Str());
    EXPECT_EQ(std::vector<CString>{"?"}, result.unopenedSections);
    ASSERT_EQ(1u, result.candidates.size());
    EXPECT_EQ(Id('a'), result.candidates[0].section.Str());
}

TEST_F(GhostFinding, ReadingCancelledBeforeItsFirstSectionGivesNothing)
{
    profile.AddAccountsKey();
    profile.AddSection(Id('a'), Store);
    std::atomic<bool> cancel{true};

    EXPECT_TRUE(GhostFinder::Find(ProfileName, &cancel).candidates.empty());
}

TEST_F(GhostFinding, ProfileWithoutAccountsKeyIsRefusedAsTheAnalysisRefusesIt)
{
    profile.AddSection(Id('a'), Store);
    try
    {
        GhostFinder::Find(ProfileName);
        FAIL() << "no exception";
    }
    catch (const Error::NvException& e)
    {
        EXPECT_NE(std::string::npos,
                  e.GetText().Str().find("\\" + profile.ProfilePath() + "\\" + ProfileTreeBuilder::AccountsKey + "\""))
            << e.GetText().Str();
    }
}
} // namespace
