#include "library/base/TextConversion.h"
#include "library/base/UniqueHandle.h"
#include "library/error/NvException.h"
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
const std::wstring WideProfileName = L"Outlook";

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

    std::vector<GhostFinder::Candidate> found = GhostFinder::Find(HKEY_CURRENT_USER, WideProfileName).candidates;

    if (GetParam().candidate)
    {
        ASSERT_EQ(1u, found.size());
        EXPECT_EQ(AnsiToWide(GetParam().section.c_str()), found[0].section);
        EXPECT_EQ(L"Archiwum", found[0].displayName);
    }
    else
    {
        EXPECT_TRUE(found.empty());
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

    GhostFinder::Result result = GhostFinder::Find(HKEY_CURRENT_USER, WideProfileName);

    EXPECT_TRUE(result.IsComplete());
    EXPECT_TRUE(result.unopenedSections.empty());
    const std::vector<GhostFinder::Candidate>& found = result.candidates;

    ASSERT_EQ(3u, found.size());
    EXPECT_EQ(AnsiToWide(Id('a').c_str()), found[0].section);
    EXPECT_EQ(AnsiToWide((folder / "Archiwum.pst").c_str()), found[0].pstPath);
    EXPECT_EQ(L"ARCHIWUM", found[1].displayName);
    EXPECT_EQ(AnsiToWide((folder / "Gone.pst").c_str()), found[1].pstPath);
    EXPECT_EQ(L"", found[2].pstPath);
    // Reading the profile asks nothing about files: that may wait on the
    // network.
    for (const GhostFinder::Candidate& candidate : found)
        EXPECT_FALSE(candidate.pstFileExists.has_value());

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
    std::vector<GhostFinder::Candidate> candidates = {{L"a", L"A", L"\\\\gone\\a.pst", std::nullopt},
                                                      {L"b", L"B", L"C:\\here.pst", std::nullopt},
                                                      {L"c", L"C", L"C:\\gone.pst", std::nullopt}};
    auto exists = [release](const std::wstring& path) {
        if (path.compare(0, 2, L"\\\\") == 0)
            WaitForSingleObject(release->Get(), INFINITE);
        return path == L"C:\\here.pst";
    };

    GhostFinder::AskFiles({&candidates[0], &candidates[1], &candidates[2]}, 200, exists);
    SetEvent(release->Get());

    EXPECT_FALSE(candidates[0].pstFileExists.has_value());
    EXPECT_EQ(std::optional<bool>(true), candidates[1].pstFileExists);
    EXPECT_EQ(std::optional<bool>(false), candidates[2].pstFileExists);
}

// A store tied only through an account that cannot be read looks like a
// ghost: the result names the account and offers none.
TEST_F(GhostFinding, UnreadableAccountMakesTheReadingIncompleteAndSaysWhich)
{
    profile.AddAccount("0001", "Jan", Id('1'));
    profile.AddService(Id('1'), Id('2'));
    profile.SetValue(std::string(ProfileTreeBuilder::AccountsKey) + "\\0002", "Account Name", REG_SZ,
                     std::string("Ewa\0", 4));
    profile.AddSection(Id('a'), Store);

    GhostFinder::Result result = GhostFinder::Find(HKEY_CURRENT_USER, WideProfileName);

    EXPECT_EQ(std::vector<std::wstring>{L"0002"}, result.unreadAccounts);
    EXPECT_FALSE(result.IsComplete());
    EXPECT_TRUE(result.candidates.empty());
}

// A section that does not open changes no other section's ties: the others
// are judged, and it is named.
TEST_F(GhostFinding, SectionThatDoesNotOpenIsNamedAndTheOthersStand)
{
    profile.AddAccountsKey();
    profile.AddUnopenableKey(Id('b'));
    profile.AddSection(Id('a'), Store);

    GhostFinder::Result result = GhostFinder::Find(HKEY_CURRENT_USER, WideProfileName);

    EXPECT_TRUE(result.IsComplete());
    EXPECT_EQ(std::vector<std::wstring>{AnsiToWide(Id('b').c_str())}, result.unopenedSections);
    ASSERT_EQ(1u, result.candidates.size());
    EXPECT_EQ(AnsiToWide(Id('a').c_str()), result.candidates[0].section);
}

TEST_F(GhostFinding, ReadingCancelledBeforeItsFirstSectionGivesNothing)
{
    profile.AddAccountsKey();
    profile.AddSection(Id('a'), Store);
    std::atomic<bool> cancel{true};

    EXPECT_TRUE(GhostFinder::Find(HKEY_CURRENT_USER, WideProfileName, &cancel).candidates.empty());
}

TEST_F(GhostFinding, ProfileWithoutAccountsKeyIsRefusedAsTheAnalysisRefusesIt)
{
    profile.AddSection(Id('a'), Store);
    try
    {
        GhostFinder::Find(HKEY_CURRENT_USER, WideProfileName);
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
