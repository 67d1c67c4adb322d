#include "library/base/TextConversion.h"
#include "library/error/NvExceptionCommon.h"
#include "program/core/GhostPstRemover.h"
#include "tests/support/LogTail.h"
#include "tests/support/ProfileTreeBuilder.h"
#include "tests/support/ScratchRegistry.h"

#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

namespace
{
using What = CoreOutcome::What;

const char* const ProfileName = "Outlook";
const char* const Pst = "Archiwum";
const std::set<std::string> ReservedNames = {ProfileTreeBuilder::AccountsKey, "{D9734F19-8CFB-411D-BC59-833E334FCB5E}",
                                             "0a0d020000000000c000000000000046"};

// A 16-byte section identifier in hex digits, all one digit.
std::string Id(char digit)
{
    return std::string(32, digit);
}

class Engine : public testing::Test
{
protected:
    What Check(const char* pst = Pst) { return GhostPstRemover(AnsiToWide(ProfileName), AnsiToWide(pst), true).Run(); }
    What Repair(const char* pst = Pst)
    {
        return GhostPstRemover(AnsiToWide(ProfileName), AnsiToWide(pst), false).Run();
    }

    // One account whose service section Id('1') refers to the store section
    // Id('2').
    void AddAccountWithStore()
    {
        profile.AddAccount("0001", "Jan", Id('1'));
        profile.AddService(Id('1'), Id('2'));
        profile.AddSection(Id('2'), SectionValues().WideDisplayName(Pst));
    }

    // The log's path comes from the real HKEY_CURRENT_USER: it is opened
    // before the redirection.
    LogTail log;
    ScratchRegistry registry;
    ProfileTreeBuilder profile{ProfileName};
};

struct CandidateCase
{
    const char* name;
    const char* pst;
    SectionValues values;
    bool candidate;
};

std::ostream& operator<<(std::ostream& out, const CandidateCase& c)
{
    return out << c.name;
}

class Candidates : public Engine, public testing::WithParamInterface<CandidateCase>
{
};

// A candidate without references is invalid: check mode counts it (1).
TEST_P(Candidates, AreJudgedByTheFirstNamePresent)
{
    profile.AddAccountsKey();
    profile.AddSection(Id('a'), GetParam().values);

    EXPECT_EQ(GetParam().candidate ? What::InvalidSections : What::Clean, Check(GetParam().pst));
    EXPECT_EQ(GetParam().candidate, log.Contains("Info: Kandydat do usunięcia, sprawdzanie powiązań."));
    EXPECT_EQ(std::set<std::string>({ProfileTreeBuilder::AccountsKey, Id('a')}), profile.Sections());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Candidates,
    testing::Values(
        CandidateCase{"WideNameEqual", Pst, SectionValues().WideDisplayName(Pst), true},
        CandidateCase{"WideNameInOtherLetterCase", Pst, SectionValues().WideDisplayName("aRCHIWUM"), true},
        CandidateCase{"WideNameWithTrailingBlank", Pst, SectionValues().WideDisplayName("Archiwum "), false},
        CandidateCase{"WideNameLongerThanTyped", "Arch", SectionValues().WideDisplayName(Pst), false},
        CandidateCase{"NarrowNameWhenNoWideName", Pst, SectionValues().NarrowDisplayName("ARCHIWUM"), true},
        CandidateCase{"NarrowNameWhenWideNameIsEmpty", Pst, SectionValues().WideDisplayName("").NarrowDisplayName(Pst),
                      true},
        CandidateCase{"NarrowNameIgnoredBesideAnotherWideName", Pst,
                      SectionValues().WideDisplayName("Inne").NarrowDisplayName(Pst), false},
        CandidateCase{"ProviderIgnoredOutsidePublicFolders", Pst, SectionValues().WideProvider("NvPFStore.dll"), false},
        CandidateCase{"PublicFoldersWideProvider", "NVPUBLICFOLDERS", SectionValues().WideProvider("nvpfstore.DLL"),
                      true},
        CandidateCase{"PublicFoldersNarrowProvider", "NvPublicFolders", SectionValues().NarrowProvider("NvPFStore.dll"),
                      true},
        CandidateCase{"PublicFoldersWideProviderDecides", "nvpublicfolders",
                      SectionValues().WideProvider("mspst.dll").NarrowProvider("NvPFStore.dll"), false},
        CandidateCase{"PublicFoldersByDisplayName", "nvpublicfolders",
                      SectionValues().WideDisplayName("NVPUBLICFOLDERS"), true},
        CandidateCase{"PublicFoldersDisplayNameBeforeProvider", "nvpublicfolders",
                      SectionValues().WideDisplayName("Inne").WideProvider("NvPFStore.dll"), false},
        CandidateCase{"PublicFoldersNameIsNotTrimmed", "nvpublicfolders ",
                      SectionValues().WideProvider("NvPFStore.dll"), false},
        CandidateCase{"NoValues", Pst, SectionValues(), false}),
    [](const testing::TestParamInfo<CandidateCase>& info) { return std::string(info.param.name); });

TEST_F(Engine, WideNameStoredAsTextIsReadAsText)
{
    profile.AddAccountsKey();
    profile.SetValue(Id('a'), "001f3001", REG_SZ, std::string(Pst) + '\0');
    EXPECT_EQ(What::InvalidSections, Check());
}

TEST_F(Engine, CandidateTiedByReference1ToTheAccountsStoreIsKept)
{
    AddAccountWithStore();
    profile.AddSection(Id('3'), SectionValues().WideDisplayName(Pst).Reference1(Id('2')));

    EXPECT_EQ(What::Clean, Repair());
    EXPECT_TRUE(log.Contains("Info: Sekcja powiązana z poprawną sekcją 1, pozostaje."));
    EXPECT_EQ(1u, profile.Sections().count(Id('3')));
}

TEST_F(Engine, CandidateTiedByReference2ToTheAccountsServiceIsKept)
{
    AddAccountWithStore();
    profile.AddSection(Id('3'), SectionValues().WideDisplayName(Pst).Reference1(Id('9')).Reference2(Id('1')));

    EXPECT_EQ(What::Clean, Repair());
    EXPECT_TRUE(log.Contains("Info: Sekcja powiązana z poprawną sekcją 2, pozostaje."));
    EXPECT_EQ(1u, profile.Sections().count(Id('3')));
}

TEST_F(Engine, ServiceAndStoreSectionsCarryingTheNameAreValid)
{
    AddAccountWithStore();
    profile.AddSection(Id('1'), SectionValues().WideDisplayName(Pst));

    EXPECT_EQ(What::Clean, Repair());
    EXPECT_TRUE(log.Contains("Info: Sekcja jest poprawna: " + Id('1')));
    EXPECT_TRUE(log.Contains("Info: Sekcja jest poprawna: " + Id('2')));
    EXPECT_EQ(std::set<std::string>({ProfileTreeBuilder::AccountsKey, Id('1'), Id('2')}), profile.Sections());
}

TEST_F(Engine, SectionNamedInUpperCaseAfterAValidIdentifierIsValid)
{
    profile.AddAccount("0001", "Jan", Id('b'));
    profile.AddService("BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB", Id('c'));
    profile.AddSection("CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC", SectionValues().WideDisplayName(Pst));

    EXPECT_EQ(What::Clean, Repair());
    EXPECT_TRUE(log.Contains("Info: Sekcja jest poprawna: CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC"));
}

TEST_F(Engine, ReferenceHoldingTwoIdentifiersTiesNothing)
{
    AddAccountWithStore();
    profile.AddSection(Id('3'), SectionValues().WideDisplayName(Pst).Reference1(Id('2') + Id('1')));

    EXPECT_EQ(What::InvalidSections, Repair());
    EXPECT_TRUE(log.Contains("Info: ID sekcji 1: " + Id('2') + Id('1')));
    EXPECT_EQ(0u, profile.Sections().count(Id('3')));
}

TEST_F(Engine, ReferencesStoredAsTextTieNothing)
{
    AddAccountWithStore();
    profile.AddSection(Id('3'), SectionValues().WideDisplayName(Pst));
    profile.SetValue(Id('3'), "01023d00", REG_SZ, Id('2') + '\0');
    profile.SetValue(Id('3'), "01023d0c", REG_SZ, Id('1') + '\0');

    EXPECT_EQ(What::InvalidSections, Repair());
    EXPECT_TRUE(log.Contains("Info: ID sekcji 1: "));
    EXPECT_TRUE(log.Contains("Info: ID sekcji 2: "));
    EXPECT_EQ(0u, profile.Sections().count(Id('3')));
}

TEST_F(Engine, ProfileWithoutAccountsLeavesEveryNamedSectionInvalid)
{
    profile.AddAccountsKey();
    profile.AddSection(Id('1'), SectionValues().WideDisplayName(Pst).Reference1(Id('2')));
    profile.AddSection(Id('2'), SectionValues().NarrowDisplayName(Pst));

    EXPECT_EQ(What::InvalidSections, Repair());
    EXPECT_EQ(std::set<std::string>{ProfileTreeBuilder::AccountsKey}, profile.Sections());
}

TEST_F(Engine, ReservedKeysAreNeverExaminedNorDeleted)
{
    profile.AddAccountsKey();
    for (const std::string& name : ReservedNames)
        profile.AddSection(name, SectionValues().WideDisplayName(Pst));

    EXPECT_EQ(What::Clean, Repair());
    EXPECT_EQ(ReservedNames, profile.Sections());
    for (const std::string& line : log.Lines())
        EXPECT_EQ(std::string::npos, line.find("Otwieranie sekcji")) << line;
}

TEST_F(Engine, ReservedNamesInAnotherLetterCaseAreExaminedAndDeleted)
{
    profile.AddAccountsKey();
    profile.AddSection("0A0D020000000000C000000000000046", SectionValues().WideDisplayName(Pst));
    profile.AddSection("{d9734f19-8cfb-411d-bc59-833e334fcb5e}", SectionValues().WideDisplayName(Pst));

    EXPECT_EQ(What::InvalidSections, Repair());
    EXPECT_TRUE(log.Contains("Info: Otwieranie sekcji: 0A0D020000000000C000000000000046"));
    EXPECT_EQ(std::set<std::string>{ProfileTreeBuilder::AccountsKey}, profile.Sections());
}

// An account that fails part-way keeps what it added: its service, read
// before the failure, still ties sections.
struct AccountFailureCase
{
    const char* name;
    std::function<void(ProfileTreeBuilder&)> build;
    DWORD code;
    const char* message;
    bool serviceTies;
};

std::ostream& operator<<(std::ostream& out, const AccountFailureCase& c)
{
    return out << c.name;
}

class AccountFailures : public Engine, public testing::WithParamInterface<AccountFailureCase>
{
};

TEST_P(AccountFailures, AreLoggedWithTheFailedCallsCodeAndTheNextAccountIsRead)
{
    GetParam().build(profile);
    profile.AddAccount("0002", "Ewa", Id('7'));
    profile.AddService(Id('7'), Id('8'));
    profile.AddSection(Id('8'), SectionValues().WideDisplayName(Pst));
    profile.AddSection(Id('a'), SectionValues().WideDisplayName(Pst).Reference1(Id('5')));

    What result = Check();

    EXPECT_TRUE(log.Contains(LogTail::ErrorLine(GetParam().code, GetParam().message)))
        << testing::PrintToString(log.Lines());
    EXPECT_TRUE(log.Contains("Info: Sekcja jest poprawna: " + Id('8')));
    EXPECT_EQ(GetParam().serviceTies ? What::Clean : What::InvalidSections, result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AccountFailures,
    testing::Values(
        AccountFailureCase{"AccountKeyThatDoesNotOpen",
                           [](ProfileTreeBuilder& p) { p.AddUnopenableKey("9375CFF0413111d3B88A00104B2A6676\\0001"); },
                           ERROR_FILE_NOT_FOUND, "Błąd podczas otwierania klucza konta.", false},
        AccountFailureCase{"ServiceUidMissing",
                           [](ProfileTreeBuilder& p) {
                               p.SetValue(std::string(ProfileTreeBuilder::AccountsKey) + "\\0001", "Account Name",
                                          REG_SZ, std::string("Jan", 4));
                           },
                           ERROR_FILE_NOT_FOUND, "Błąd podczas pobierania klucza serwisu.", false},
        AccountFailureCase{"ServiceUidEmpty", [](ProfileTreeBuilder& p) { p.AddAccount("0001", "Jan", ""); },
                           ERROR_INVALID_DATA, "Błąd podczas pobierania klucza serwisu.", false},
        AccountFailureCase{"ServiceUidAsText",
                           [](ProfileTreeBuilder& p) {
                               p.SetValue(std::string(ProfileTreeBuilder::AccountsKey) + "\\0001", "Service UID",
                                          REG_SZ, Id('5') + '\0');
                           },
                           ERROR_INVALID_DATA, "Błąd podczas pobierania klucza serwisu.", false},
        AccountFailureCase{"ServiceUidTooLong",
                           [](ProfileTreeBuilder& p) { p.AddAccount("0001", "Jan", std::string(2048, '5')); },
                           ERROR_MORE_DATA, "Błąd podczas pobierania klucza serwisu.", false},
        AccountFailureCase{"ServiceKeyMissing", [](ProfileTreeBuilder& p) { p.AddAccount("0001", "Jan", Id('5')); },
                           ERROR_FILE_NOT_FOUND, "Błąd podczas otwierania klucza serwisu.", true},
        AccountFailureCase{"StoreReferenceMissing",
                           [](ProfileTreeBuilder& p) {
                               p.AddAccount("0001", "Jan", Id('5'));
                               p.AddKey(Id('5'));
                           },
                           ERROR_FILE_NOT_FOUND, "Błąd podczas pobierania klucza sekcji.", true},
        AccountFailureCase{"StoreReferenceEmpty",
                           [](ProfileTreeBuilder& p) {
                               p.AddAccount("0001", "Jan", Id('5'));
                               p.AddService(Id('5'), "");
                           },
                           ERROR_INVALID_DATA, "Błąd podczas pobierania klucza sekcji.", true}),
    [](const testing::TestParamInfo<AccountFailureCase>& info) { return std::string(info.param.name); });

TEST_F(Engine, CheckReportsWithoutDeleting)
{
    AddAccountWithStore();
    profile.AddSection(Id('3'), SectionValues().WideDisplayName(Pst));
    profile.AddSection(Id('4'), SectionValues().NarrowDisplayName("archiwum"));
    std::set<std::string> before = profile.Sections();

    EXPECT_EQ(What::InvalidSections, Check());
    std::vector<std::string> lines = log.Lines();
    EXPECT_EQ(2, std::count(lines.begin(), lines.end(), "Info: Ta sekcja jest niepoprawne i powinna zostać usunięta."));
    EXPECT_EQ(before, profile.Sections());
}

TEST_F(Engine, RepairDeletesEveryInvalidSectionAndKeepsTheRest)
{
    AddAccountWithStore();
    profile.AddSection(Id('3'), SectionValues().WideDisplayName(Pst));
    profile.AddSection(Id('4'), SectionValues().NarrowDisplayName("archiwum"));
    profile.AddSection(Id('5'), SectionValues().WideDisplayName("Inne"));

    EXPECT_EQ(What::InvalidSections, Repair());
    std::vector<std::string> lines = log.Lines();
    EXPECT_EQ(2, std::count(lines.begin(), lines.end(), "Info: Ta sekcja jest niepoprawna i została usunięta."));
    EXPECT_EQ(std::set<std::string>({ProfileTreeBuilder::AccountsKey, Id('1'), Id('2'), Id('5')}), profile.Sections());
}

TEST_F(Engine, NothingInvalidGivesZeroInBothModes)
{
    AddAccountWithStore();
    profile.AddSection(Id('5'), SectionValues().WideDisplayName("Inne"));

    EXPECT_EQ(What::Clean, Check());
    EXPECT_EQ(What::Clean, Repair());
    EXPECT_EQ(4u, profile.Sections().size());
}

TEST_F(Engine, FailedDeletionGivesTwoAndTheLaterDeletionStillHappens)
{
    profile.AddAccountsKey();
    profile.AddSection(Id('1'), SectionValues().WideDisplayName(Pst));
    profile.AddKey(Id('1') + "\\Own");
    profile.AddSection(Id('2'), SectionValues().WideDisplayName(Pst));

    EXPECT_EQ(What::RemovalFailed, Repair());
    std::vector<std::string> lines = log.Lines();
    auto failure = std::find(lines.begin(), lines.end(),
                             LogTail::ErrorLine(ERROR_ACCESS_DENIED, "Błąd podczas usuwania niepoprawnej sekcji."));
    auto deletion = std::find(lines.begin(), lines.end(), "Info: Ta sekcja jest niepoprawna i została usunięta.");
    EXPECT_NE(lines.end(), failure);
    EXPECT_NE(lines.end(), deletion);
    EXPECT_LT(failure, deletion);
    EXPECT_EQ(std::set<std::string>({ProfileTreeBuilder::AccountsKey, Id('1')}), profile.Sections());
}

TEST_F(Engine, CheckNeverGivesTwo)
{
    profile.AddAccountsKey();
    profile.AddSection(Id('1'), SectionValues().WideDisplayName(Pst));
    profile.AddKey(Id('1') + "\\Own");

    EXPECT_EQ(What::InvalidSections, Check());
}

TEST_F(Engine, SectionThatDoesNotOpenIsLoggedAndPassedOver)
{
    profile.AddAccountsKey();
    profile.AddUnopenableKey("unopenable");
    profile.AddSection(Id('2'), SectionValues().WideDisplayName(Pst));

    EXPECT_EQ(What::InvalidSections, Repair());
    EXPECT_TRUE(log.Contains("Info: Otwieranie sekcji: unopenable"));
    EXPECT_TRUE(log.Contains(LogTail::ErrorLine(ERROR_FILE_NOT_FOUND, "Błąd podczas otwierania sekcji.")));
    EXPECT_EQ(std::set<std::string>({ProfileTreeBuilder::AccountsKey, "unopenable"}), profile.Sections());
}

TEST_F(Engine, ProfileWithOnlyTheAccountsKeyGivesZeroAfterBothHeaders)
{
    profile.AddAccountsKey();

    EXPECT_EQ(What::Clean, Repair());
    std::vector<std::string> lines = log.Lines();
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ("Info: -- Listowanie kont --", lines[2]);
    EXPECT_EQ("Info: -- Listowanie sekcji -- ", lines[4]);
}

struct ThrowCase
{
    const char* name;
    bool withProfileKey;
    const char* keyInMessage;
};

std::ostream& operator<<(std::ostream& out, const ThrowCase& c)
{
    return out << c.name;
}

class RunThrows : public testing::TestWithParam<ThrowCase>
{
protected:
    LogTail log;
    ScratchRegistry registry;
};

// The code is the one the failed open returned, not the thread's unrelated
// last-error value; nothing is logged after the opening line.
TEST_P(RunThrows, WithTheOpenCodeAndTheKeyPath)
{
    if (GetParam().withProfileKey)
        ProfileTreeBuilder created(ProfileName);
    SetLastError(0);
    try
    {
        GhostPstRemover(AnsiToWide(ProfileName), AnsiToWide(Pst), false).Run();
        FAIL() << "no exception";
    }
    catch (const Error::NvExceptionCommon& e)
    {
        EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), e.GetError());
        EXPECT_EQ(std::string("Failed to open registry key \"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows "
                              "NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles\\Outlook") +
                      GetParam().keyInMessage + "\". Ensure you have read access to this key.",
                  e.GetMessage().Str());
        EXPECT_EQ("ProfileReading.cpp", e.GetModule().Str());
    }
    EXPECT_EQ(std::vector<std::string>{"Info: Otwieranie klucza profilów: HKEY_CURRENT_USER\\Software\\Microsoft\\"
                                       "Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles\\Outlook"},
              log.Lines());
}

INSTANTIATE_TEST_SUITE_P(Table, RunThrows,
                         testing::Values(ThrowCase{"ProfileKeyMissing", false, ""},
                                         ThrowCase{"AccountsKeyMissing", true, "\\9375CFF0413111d3B88A00104B2A6676"}),
                         [](const testing::TestParamInfo<ThrowCase>& info) { return std::string(info.param.name); });

// The whole trace of one repair, byte for byte after the time stamps: the
// Polish texts are Windows-1250 bytes, written here as such.
TEST_F(Engine, RepairWritesThisTrace)
{
    AddAccountWithStore();
    profile.AddSection(Id('3'), SectionValues().WideDisplayName(Pst).Reference1(Id('2')));
    profile.AddSection(Id('4'), SectionValues().NarrowDisplayName("ARCHIWUM").NarrowProvider("mspst.dll"));
    profile.AddKey(Id('4') + "\\Own");
    profile.AddSection(Id('5'), SectionValues().WideDisplayName("Inne"));
    profile.AddSection(Id('6'), SectionValues().WideDisplayName(Pst).Reference1(Id('9')).Reference2(Id('1') + Id('2')));
    profile.AddSection("0a0d020000000000c000000000000046", SectionValues().WideDisplayName(Pst));

    EXPECT_EQ(What::RemovalFailed, Repair());

    const std::string value = "Info: Warto\x9c\xe6";
    const std::vector<std::string> expected = {
        "Info: Otwieranie klucza profil\xf3w: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\"
        "Windows Messaging Subsystem\\Profiles\\Outlook",
        "Info:  ",
        "Info: -- Listowanie kont --",
        "Info: Otwieranie klucza konta: 0001",
        "Info: Nazwa konta: Jan",
        "Info: ID serwisu to " + Id('1'),
        "Info: Otwieranie klucza serwisu.",
        "Info: ID sekcji to " + Id('2'),
        "Info:  ",
        "Info: -- Listowanie sekcji -- ",
        "Info: Sekcja jest poprawna: " + Id('1'),
        "Info: Sekcja jest poprawna: " + Id('2'),
        "Info: Otwieranie sekcji: " + Id('3'),
        value + "1 = Archiwum",
        value + "2 = ",
        value + "3 = ",
        value + "4 = ",
        "Info: Kandydat do usuni\xea"
        "cia, sprawdzanie powi\xb9za\xf1.",
        "Info: ID sekcji 1: " + Id('2'),
        "Info: ID sekcji 2: ",
        "Info: Sekcja powi\xb9zana z poprawn\xb9 sekcj\xb9 1, pozostaje.",
        "Info: Otwieranie sekcji: " + Id('4'),
        value + "1 = ",
        value + "2 = ARCHIWUM",
        value + "3 = ",
        value + "4 = mspst.dll",
        "Info: Kandydat do usuni\xea"
        "cia, sprawdzanie powi\xb9za\xf1.",
        "Info: ID sekcji 1: ",
        "Info: ID sekcji 2: ",
        "Error: Access denied. (0x5) B\xb3\xb9"
        "d podczas usuwania niepoprawnej sekcji.",
        "Info: Otwieranie sekcji: " + Id('5'),
        value + "1 = Inne",
        value + "2 = ",
        value + "3 = ",
        value + "4 = ",
        "Info: Otwieranie sekcji: " + Id('6'),
        value + "1 = Archiwum",
        value + "2 = ",
        value + "3 = ",
        value + "4 = ",
        "Info: Kandydat do usuni\xea"
        "cia, sprawdzanie powi\xb9za\xf1.",
        "Info: ID sekcji 1: " + Id('9'),
        "Info: ID sekcji 2: " + Id('1') + Id('2'),
        "Info: Ta sekcja jest niepoprawna i zosta\xb3"
        "a usuni\xea"
        "ta.",
    };
    std::vector<std::string> lines = log.Lines();
    for (size_t i = 0; i < std::max(expected.size(), lines.size()); ++i)
        EXPECT_EQ(i < expected.size() ? expected[i] : "(none)", i < lines.size() ? lines[i] : "(none)") << "line " << i;
}
} // namespace
