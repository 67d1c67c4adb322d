#include "library/base/TextConversion.h"
#include "library/base/UniqueHandle.h"
#include "program/core/GhostFinder.h"
#include "resources/resource.h"
#include "tests/support/DialogControls.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/ProgramTexts.h"
#include "tests/support/RegistryTools.h"
#include "tests/support/SampleProfile.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TempFolder.h"

#include <tlhelp32.h>

#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace ProgramTexts;

namespace
{
const std::string OldRoot = ProfileTreeBuilder::MessagingSubsystemRoot;
const std::string Office16 = ProfileTreeBuilder::Office16Root;
const std::string Office15 = ProfileTreeBuilder::Office15Root;
const std::string Pst = SampleProfile::Pst;

// What the dialog shows of its state, read in a step.
struct DialogState
{
    std::vector<std::string> entries;
    std::string selection;
    std::string pstName;
};

DialogState ReadState(HWND dialog)
{
    return {ComboEntries(dialog, IDC_PROFILES), ComboSelection(dialog, IDC_PROFILES),
            ControlText(dialog, IDC_PST_NAME)};
}

class ProfileList : public ProgramRun
{
protected:
    // Runs the program and closes it at once; what the dialog showed.
    DialogState RunAndRead()
    {
        DialogState state;
        driver.Then([&](HWND dialog) {
            state = ReadState(dialog);
            Click(dialog, IDCANCEL);
        });
        RunProgram();
        return state;
    }

    ScratchRegistry registry;
};

// The subkeys of `path` below HKEY_CURRENT_USER in the registry's order.
std::vector<std::string> RegistryOrder(const std::string& path)
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[256];
    DWORD length = sizeof(name);
    for (DWORD i = 0; RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i)
    {
        names.push_back(name);
        length = sizeof(name);
    }
    RegCloseKey(key);
    return names;
}

// The list sorts as people read, an accented letter beside the plain one;
// the registry lists it after every unaccented letter.
TEST_F(ProfileList, IsSortedByTheListNotTheRegistry)
{
    for (const char* name : {"Fryderyk", "Ewa", "Émilie"})
        ProfileTreeBuilder profile(name);
    SetText(OldRoot, "DefaultProfile", "Ewa");

    DialogState state = RunAndRead();

    const std::vector<std::string> sorted = {"Émilie", "Ewa", "Fryderyk"};
    EXPECT_EQ(sorted, state.entries);
    EXPECT_NE(sorted, RegistryOrder(OldRoot));
    EXPECT_EQ("Ewa", state.selection);
    EXPECT_TRUE(boxes.Boxes().empty());
}

struct DefaultCase
{
    const char* name;
    const char* defaultProfile; // null: no value
    DWORD type;
    const char* selected;
};

// "Bob" and 509 more letters: 512 bytes with the final NUL, one more than
// the program reads.
const std::string LongName = "Bob" + std::string(509, 'b');

std::ostream& operator<<(std::ostream& out, const DefaultCase& c)
{
    return out << c.name;
}

class DefaultProfile : public ProfileList, public testing::WithParamInterface<DefaultCase>
{
};

TEST_P(DefaultProfile, IsSelectedByTheListsPrefixSearch)
{
    for (const char* name : {"Bob", "Archive", "Work"})
        ProfileTreeBuilder profile(name);
    if (GetParam().defaultProfile != nullptr)
        SetValue(OldRoot, "DefaultProfile", GetParam().type, std::string(GetParam().defaultProfile) + '\0');

    DialogState state = RunAndRead();

    EXPECT_EQ((std::vector<std::string>{"Archive", "Bob", "Work"}), state.entries);
    EXPECT_EQ(GetParam().selected, state.selection);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(RunLines({}), log.Lines());
}

// A value that is no text, or too long for the program's buffer, selects
// nothing.
INSTANTIATE_TEST_SUITE_P(Table, DefaultProfile,
                         testing::Values(DefaultCase{"ExactName", "Bob", REG_SZ, "Bob"},
                                         DefaultCase{"OtherLetterCase", "wORK", REG_SZ, "Work"},
                                         DefaultCase{"PrefixOfAName", "Arch", REG_SZ, "Archive"},
                                         DefaultCase{"NameOfNoProfile", "Gone", REG_SZ, "<none>"},
                                         DefaultCase{"LongerThanAName", "Bobby", REG_SZ, "<none>"},
                                         DefaultCase{"ExpandableText", "Bob", REG_EXPAND_SZ, "Bob"},
                                         DefaultCase{"BinaryValue", "Bob", REG_BINARY, "<none>"},
                                         DefaultCase{"LongerThanTheBuffer", LongName.c_str(), REG_SZ, "<none>"},
                                         DefaultCase{"NoValueSelectsNone", nullptr, REG_SZ, "<none>"}),
                         [](const testing::TestParamInfo<DefaultCase>& info) { return std::string(info.param.name); });

TEST_F(ProfileList, EmptyRootDisablesTheActionsButNotBackupCloseOrTheList)
{
    CreateKey(OldRoot);
    ASSERT_TRUE(WriteFileBytes(settings.Path(), "[General]\r\nPstName=Archiwum 2019\r\n"));
    std::vector<bool> enabled;
    std::string pstName;
    driver.Then([&](HWND dialog) {
        for (int id : {IDOK, IDC_CHECK, IDC_PST_NAME, IDC_PROFILES, IDC_BACKUP, IDCANCEL})
            enabled.push_back(IsControlEnabled(dialog, id));
        pstName = ControlText(dialog, IDC_PST_NAME);
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(NoProfiles, BoxIcon::Error)}), boxes.Boxes());
    EXPECT_EQ((std::vector<bool>{false, false, false, true, true, true}), enabled);
    EXPECT_EQ("Archiwum 2019", pstName);
    EXPECT_EQ(RunLines({}), log.Lines());
}

// The code is the failed open's own (the file is missing: 2), whatever the
// thread's last error was.
TEST_F(ProfileList, MissingRootIsReportedThenTheListIsEmpty)
{
    bool checkEnabled = true;
    driver.Then([&](HWND dialog) {
        checkEnabled = IsControlEnabled(dialog, IDC_CHECK);
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    EXPECT_EQ((std::vector<CapturedBox>{ErrorBox(ExceptionText(ERROR_FILE_NOT_FOUND, OpenKeyFailed(OldRoot))),
                                        ProgramBox(NoProfiles, BoxIcon::Error)}),
              boxes.Boxes());
    EXPECT_FALSE(checkEnabled);
    EXPECT_EQ(RunLines({}), log.Lines());
}

// With the key behind HKEY_CURRENT_USER deleted every open fails with a code
// of its own, which no earlier call leaves as the thread's last error.
TEST_F(ProfileList, RootThatCannotBeOpenedShowsTheOpensOwnCode)
{
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_CURRENT_USER, ""));
    driver.Then([](HWND dialog) { Click(dialog, IDCANCEL); });

    RunProgram();

    EXPECT_EQ((std::vector<CapturedBox>{ErrorBox(ExceptionText(ERROR_KEY_DELETED, OpenKeyFailed(OldRoot))),
                                        ProgramBox(NoProfiles, BoxIcon::Error)}),
              boxes.Boxes());
}

// The edit field's selection of a combo box: its start and its end.
std::pair<DWORD, DWORD> EditSelection(HWND dialog, int id)
{
    DWORD start = 0;
    DWORD end = 0;
    SendDlgItemMessageA(dialog, id, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

std::function<bool(HWND)> PstListIs(std::vector<std::string> entries)
{
    return [entries](HWND dialog) { return ComboEntries(dialog, IDC_PST_NAME) == entries; };
}

// The PST name's list offers the ghost stores of the profile selected, at
// start and after each choice, each name once, once they are read; the text
// typed, its caret and its selection stay as they are when the list is
// emptied and when it is filled.
TEST_F(ProfileList, PstNameListOffersTheSelectedProfilesGhostStores)
{
    const SectionValues store = SectionValues().WideProvider("mspst.dll");
    auto id = SampleProfile::Id;
    ProfileTreeBuilder outlook("Outlook");
    outlook.AddAccount("0001", "Jan", id('1'));
    outlook.AddService(id('1'), id('2'));
    outlook.AddSection(id('2'), SectionValues(store).WideDisplayName("Skrzynka"));
    outlook.AddSection(id('a'), SectionValues(store).WideDisplayName("Archiwum"));
    outlook.AddSection(id('b'), SectionValues(store).WideDisplayName("ARCHIWUM"));
    outlook.AddSection(id('c'), SectionValues(store).WideDisplayName("Stare 2015"));
    ProfileTreeBuilder work("Praca");
    work.AddAccountsKey();
    work.AddSection(id('d'), SectionValues(store).WideDisplayName("Projekty"));
    ProfileTreeBuilder broken("Zepsuty");
    broken.AddSection(id('e'), SectionValues(store).WideDisplayName("Nieczytelny"));
    SetText(OldRoot, "DefaultProfile", "Outlook");
    ASSERT_TRUE(WriteFileBytes(settings.Path(), "[General]\r\nPstName=Archiwum 2019\r\n"));
    std::vector<std::vector<std::string>> lists;
    std::vector<std::string> texts;
    std::vector<std::pair<DWORD, DWORD>> selections;
    auto record = [&](HWND dialog) {
        lists.push_back(ComboEntries(dialog, IDC_PST_NAME));
        texts.push_back(ControlText(dialog, IDC_PST_NAME));
        selections.push_back(EditSelection(dialog, IDC_PST_NAME));
    };
    driver.WaitUntil(PstListIs({"Archiwum", "Stare 2015"}), "the default profile's list")
        .Then([&](HWND dialog) {
            record(dialog);
            SendDlgItemMessageA(dialog, IDC_PST_NAME, CB_SETEDITSEL, 0, MAKELPARAM(2, 5));
            SelectComboEntry(dialog, IDC_PROFILES, "Praca");
            record(dialog);
        })
        .WaitUntil(PstListIs({"Projekty"}), "the list of \"Praca\"")
        .Then([&](HWND dialog) {
            record(dialog);
            SelectComboEntry(dialog, IDC_PROFILES, "Zepsuty");
        })
        .Then([&](HWND dialog) {
            record(dialog);
            Click(dialog, IDCANCEL);
        });

    RunProgram();

    EXPECT_EQ((std::vector<std::vector<std::string>>{{"Archiwum", "Stare 2015"}, {}, {"Projekty"}, {}}), lists);
    EXPECT_EQ((std::vector<std::string>(4, "Archiwum 2019")), texts);
    std::pair<DWORD, DWORD> chosen(2, 5);
    EXPECT_EQ(chosen, selections[1]);
    EXPECT_EQ(chosen, selections[2]);
    EXPECT_EQ(chosen, selections[3]);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(RunLines({}), log.Lines());
}

// A profile whose reading takes long: many sections without a display name,
// then a ghost "Archiwum" at the end of the listing.
void AddLargeProfile(const std::string& name, int sections)
{
    ProfileTreeBuilder profile(name);
    profile.AddAccountsKey();
    for (int i = 0; i < sections; ++i)
    {
        char hex[33];
        wsprintfA(hex, "%032x", i);
        profile.AddSection(hex, SectionValues().NarrowProvider("emsmdb32.dll"));
    }
    profile.AddSection(std::string(32, 'f'), SectionValues().WideDisplayName("Archiwum").WideProvider("mspst.dll"));
}

// The list of a profile that is no longer selected never shows: not when it
// arrives after the change, nor when the change stops its reading.
TEST_F(ProfileList, PstNameListOfAnEarlierProfileIsDiscarded)
{
    ProfileTreeBuilder little("Mały");
    little.AddAccountsKey();
    little.AddSection(SampleProfile::Id('a'), SectionValues().WideDisplayName("Stary").WideProvider("mspst.dll"));
    AddLargeProfile("Duży", 3000);
    std::vector<std::vector<std::string>> lists;
    driver
        .Then([&](HWND dialog) {
            SelectComboEntry(dialog, IDC_PROFILES, "Mały");
            // Its list waits in the queue, not yet taken, when the profile
            // changes.
            MSG message;
            DWORD start = GetTickCount();
            while (!PeekMessageA(&message, dialog, WM_APP, 0xBFFF, PM_NOREMOVE) && GetTickCount() - start < 10000)
                Sleep(1);
            SelectComboEntry(dialog, IDC_PROFILES, "Duży");
        })
        .Then([&](HWND dialog) {
            lists.push_back(ComboEntries(dialog, IDC_PST_NAME));
            SelectComboEntry(dialog, IDC_PROFILES, "Mały");
        })
        .WaitUntil(PstListIs({"Stary"}), "the list of \"Mały\"")
        .Then([&](HWND dialog) {
            lists.push_back(ComboEntries(dialog, IDC_PST_NAME));
            Click(dialog, IDCANCEL);
        });

    RunProgram();

    EXPECT_EQ((std::vector<std::vector<std::string>>{{}, {"Stary"}}), lists);
    EXPECT_EQ(RunLines({}), log.Lines());
}

size_t ThreadsOfThisProcess()
{
    UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    size_t count = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
    {
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++count;
    }
    return count;
}

// Closing the window while the default profile's list is read stops the
// reading at its next section: the window goes without waiting for the
// rest, leaves no thread behind, and the reading wrote nothing to the log.
TEST_F(ProfileList, ClosingDuringAReadingStopsItAndLeavesNoThread)
{
    AddLargeProfile("Duży", 3000);
    SetText(OldRoot, "DefaultProfile", "Duży");
    ASSERT_TRUE(WriteFileBytes(settings.Path(), "[General]\r\nPstName=Archiwum 2019\r\n"));
    size_t threads = ThreadsOfThisProcess();
    std::vector<std::string> entries = {"not read"};
    DWORD clicked = 0;
    driver.Then([](HWND dialog) { SelectComboEntry(dialog, IDC_PROFILES, "Duży"); }).Then([&](HWND dialog) {
        entries = ComboEntries(dialog, IDC_PST_NAME);
        clicked = GetTickCount();
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    DWORD closing = GetTickCount() - clicked;
    // Counted before any assertion: a failed one starts a thread of the
    // test framework's own.
    size_t threadsAfter = ThreadsOfThisProcess();
    DWORD started = GetTickCount();
    ASSERT_EQ(1u, GhostFinder::Find(HKEY_CURRENT_USER, AnsiToWide("Duży")).candidates.size());
    DWORD reading = GetTickCount() - started;
    EXPECT_TRUE(entries.empty());
    EXPECT_LT(closing * 4, reading) << "closing took " << closing << " ms, a whole reading " << reading << " ms";
    EXPECT_EQ(threads, threadsAfter);
    EXPECT_EQ("[General]\r\nPstName=Archiwum 2019\r\n", ReadFileBytes(settings.Path()));
    EXPECT_EQ(RunLines({}), log.Lines());
}

struct RootCase
{
    const char* name;
    std::function<void()> build;
    std::vector<std::string> entries;
    std::string selection;
};

std::ostream& operator<<(std::ostream& out, const RootCase& c)
{
    return out << c.name;
}

class ProfilesRoot : public ProfileList, public testing::WithParamInterface<RootCase>
{
};

// Office 2013 and later keep "DefaultProfile" in the key above their
// profiles; a value in their profiles key is not looked at.
TEST_P(ProfilesRoot, GivesTheListAndTheDefault)
{
    GetParam().build();
    DialogState state = RunAndRead();
    EXPECT_EQ(GetParam().entries, state.entries);
    EXPECT_EQ(GetParam().selection, state.selection);
    EXPECT_TRUE(boxes.Boxes().empty());
}

void Profiles(const std::string& root, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        ProfileTreeBuilder profile(name, root);
}

const std::string Office16Outlook = "Software\\Microsoft\\Office\\16.0\\Outlook";
const std::string Office15Outlook = "Software\\Microsoft\\Office\\15.0\\Outlook";

// The profiles "Praca" and "Dom" of an Office root: the default named in the
// key above the root is "Praca", the one in the root itself "Dom".
std::function<void()> OfficeProfiles(const std::string& root, const std::string& outlookKey)
{
    return [root, outlookKey] {
        Profiles(root, {"Praca", "Dom"});
        SetText(outlookKey, "DefaultProfile", "Praca");
        SetText(root, "DefaultProfile", "Dom");
    };
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfilesRoot,
    testing::Values(RootCase{"OldRootOnly",
                             [] {
                                 Profiles(OldRoot, {"Stary", "Inny"});
                                 SetText(OldRoot, "DefaultProfile", "Stary");
                             },
                             {"Inny", "Stary"},
                             "Stary"},
                    RootCase{"Office16Only", OfficeProfiles(Office16, Office16Outlook), {"Dom", "Praca"}, "Praca"},
                    RootCase{"Office15Only", OfficeProfiles(Office15, Office15Outlook), {"Dom", "Praca"}, "Praca"},
                    RootCase{"Office16BeforeTheOldRoot",
                             [] {
                                 Profiles(Office16, {"Nowy", "Drugi"});
                                 SetText(Office16Outlook, "DefaultProfile", "Nowy");
                                 Profiles(OldRoot, {"Stary"});
                                 SetText(OldRoot, "DefaultProfile", "Stary");
                             },
                             {"Drugi", "Nowy"},
                             "Nowy"},
                    RootCase{"EmptyOffice16LeavesTheOldRoot",
                             [] {
                                 CreateKey(Office16);
                                 SetText(Office16Outlook, "DefaultProfile", "Inny");
                                 Profiles(OldRoot, {"Stary", "Inny"});
                                 SetText(OldRoot, "DefaultProfile", "Stary");
                             },
                             {"Inny", "Stary"},
                             "Stary"}),
    [](const testing::TestParamInfo<RootCase>& info) { return std::string(info.param.name); });

class Input : public ProgramRun
{
protected:
    ScratchRegistry registry;
    SampleProfile profile{"Outlook", OldRoot, true};
};

TEST_F(Input, NoSelectionStopsBothActionsWithBox107)
{
    SetText(OldRoot, "DefaultProfile", "Gone");
    std::string selection;
    driver.Then([&](HWND dialog) {
        selection = ComboSelection(dialog, IDC_PROFILES);
        SetControlText(dialog, IDC_PST_NAME, Pst);
        Click(dialog, IDC_CHECK);
        Click(dialog, IDOK);
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    EXPECT_EQ("<none>", selection);
    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(NoProfileSelected, BoxIcon::Exclamation),
                                        ProgramBox(NoProfileSelected, BoxIcon::Exclamation)}),
              boxes.Boxes());
    EXPECT_EQ(RunLines({}), log.Lines());
    EXPECT_EQ(SampleProfile::SectionsWithoutGhost().size() + 1, profile.Tree().Sections().size());
}

TEST_F(Input, EmptyNameStopsBothActionsWithBox122AndTheFocusInTheEdit)
{
    HWND focusAfterCheck = nullptr;
    HWND focusAfterRepair = nullptr;
    HWND edit = nullptr;
    driver.Then([&](HWND dialog) {
        edit = FindWindowExA(GetDlgItem(dialog, IDC_PST_NAME), nullptr, "Edit", nullptr);
        SelectComboEntry(dialog, IDC_PROFILES, "Outlook");
        Click(dialog, IDC_CHECK);
        focusAfterCheck = GetFocus();
        SetFocus(GetDlgItem(dialog, IDC_PROFILES));
        Click(dialog, IDOK);
        focusAfterRepair = GetFocus();
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(EnterPstName, BoxIcon::Exclamation),
                                        ProgramBox(EnterPstName, BoxIcon::Exclamation)}),
              boxes.Boxes());
    EXPECT_EQ(edit, focusAfterCheck);
    EXPECT_EQ(edit, focusAfterRepair);
    EXPECT_EQ(RunLines({}), log.Lines());
}

// The entry " Outlook\t" stands for the profile "Outlook" everywhere.
TEST_F(Input, ProfileNameIsUsedWithoutTheBlanksAroundIt)
{
    ProfileTreeBuilder blanks(" Outlook\t");
    driver.Then([&](HWND dialog) {
        SelectComboEntry(dialog, IDC_PROFILES, " Outlook\t");
        SetControlText(dialog, IDC_PST_NAME, Pst);
        Click(dialog, IDC_CHECK);
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(InvalidSectionsFound(Pst, "Outlook"), BoxIcon::Information)}),
              boxes.Boxes());
    EXPECT_EQ(RunLines({CheckLines("Outlook", Pst), profile.Trace(true)}), log.Lines());
}

TEST_F(Input, PstNameOfBlanksIsTakenAsTyped)
{
    profile.Tree().AddSection(SampleProfile::Id('b'), SectionValues().WideDisplayName("  "));
    driver.Then([&](HWND dialog) {
        SelectComboEntry(dialog, IDC_PROFILES, "Outlook");
        SetControlText(dialog, IDC_PST_NAME, "  ");
        Click(dialog, IDC_CHECK);
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(InvalidSectionsFound("  ", "Outlook"), BoxIcon::Information)}),
              boxes.Boxes());
    EXPECT_TRUE(log.Contains(CheckLines("Outlook", "  ")[2]));
    EXPECT_TRUE(log.Contains("Info: Ta sekcja jest niepoprawne i powinna zostać usunięta."));
}

struct CheckCase
{
    const char* name;
    bool withGhost;
};

std::ostream& operator<<(std::ostream& out, const CheckCase& c)
{
    return out << c.name;
}

class Check : public ProgramRun, public testing::WithParamInterface<CheckCase>
{
protected:
    ScratchRegistry registry;
};

// The old root's log, line for line and byte for byte after the time stamps.
TEST_P(Check, ShowsTheResultAndLogsTheTraceWithoutChangingTheProfile)
{
    SampleProfile profile("Outlook", OldRoot, GetParam().withGhost);
    SetText(OldRoot, "DefaultProfile", "Outlook");
    std::set<std::string> before = profile.Tree().Sections();
    driver.Then([&](HWND dialog) {
        SetControlText(dialog, IDC_PST_NAME, Pst);
        Click(dialog, IDC_CHECK);
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    std::string text = GetParam().withGhost ? InvalidSectionsFound(Pst, "Outlook") : NoInvalidSections(Pst, "Outlook");
    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(text, BoxIcon::Information)}), boxes.Boxes());
    EXPECT_EQ(RunLines({CheckLines("Outlook", Pst), profile.Trace(true)}), log.Lines());
    EXPECT_EQ(before, profile.Tree().Sections());
}

INSTANTIATE_TEST_SUITE_P(Table, Check, testing::Values(CheckCase{"NoGhost", false}, CheckCase{"Ghost", true}),
                         [](const testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST_F(Check, RunsOnTheProfilesOfOffice16)
{
    SampleProfile profile("Praca", Office16, true);
    SetText(Office16Outlook, "DefaultProfile", "Praca");
    driver.Then([&](HWND dialog) {
        SetControlText(dialog, IDC_PST_NAME, Pst);
        Click(dialog, IDC_CHECK);
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(InvalidSectionsFound(Pst, "Praca"), BoxIcon::Information)}),
              boxes.Boxes());
    EXPECT_EQ(RunLines({CheckLines("Praca", Pst), profile.Trace(true)}), log.Lines());
}

// A profile without accounts key makes the engine give up; the next action
// runs as if nothing had happened.
TEST_F(Check, EngineFailureIsLoggedAndShownAndTheDialogGoesOn)
{
    ProfileTreeBuilder broken("Broken");
    SampleProfile profile("Outlook", OldRoot, false);
    SetText(OldRoot, "DefaultProfile", "Broken");
    driver.Then([&](HWND dialog) {
        SetControlText(dialog, IDC_PST_NAME, Pst);
        Click(dialog, IDC_CHECK);
        SelectComboEntry(dialog, IDC_PROFILES, "Outlook");
        Click(dialog, IDC_CHECK);
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    std::string accountsKey = OldRoot + "\\Broken\\" + ProfileTreeBuilder::AccountsKey;
    EXPECT_EQ((std::vector<CapturedBox>{ErrorBox(ExceptionText(ERROR_FILE_NOT_FOUND, OpenKeyFailed(accountsKey))),
                                        ProgramBox(NoInvalidSections(Pst, "Outlook"), BoxIcon::Information)}),
              boxes.Boxes());
    std::vector<std::string> failed = {"Info: Otwieranie klucza profilów: HKEY_CURRENT_USER\\" + OldRoot + "\\Broken",
                                       LogTail::ErrorLine(ERROR_FILE_NOT_FOUND, OpenKeyFailed(accountsKey))};
    EXPECT_EQ(RunLines({CheckLines("Broken", Pst), failed, CheckLines("Outlook", Pst), profile.Trace(true)}),
              log.Lines());
}

TEST_F(Check, EngineFailureNamesTheKeyOfTheRootInForce)
{
    ProfileTreeBuilder broken("Praca", Office16);
    SetText(Office16Outlook, "DefaultProfile", "Praca");
    driver.Then([](HWND dialog) {
        SetControlText(dialog, IDC_PST_NAME, Pst);
        Click(dialog, IDC_CHECK);
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    std::string accountsKey = Office16 + "\\Praca\\" + ProfileTreeBuilder::AccountsKey;
    EXPECT_EQ((std::vector<CapturedBox>{ErrorBox(ExceptionText(ERROR_FILE_NOT_FOUND, OpenKeyFailed(accountsKey)))}),
              boxes.Boxes());
    EXPECT_TRUE(log.Contains(LogTail::ErrorLine(ERROR_FILE_NOT_FOUND, OpenKeyFailed(accountsKey))));
}

struct CloseCase
{
    const char* name;
    std::function<void(HWND dialog)> close;
};

std::ostream& operator<<(std::ostream& out, const CloseCase& c)
{
    return out << c.name;
}

class Closing : public ProgramRun, public testing::WithParamInterface<CloseCase>
{
protected:
    ScratchRegistry registry;
    ProfileTreeBuilder profile{"Outlook"};
};

// Whatever the edit holds when the window closes is remembered, also when
// no action used it; the next start shows it.
TEST_P(Closing, RemembersTheEditsText)
{
    ASSERT_TRUE(WriteFileBytes(settings.Path(), "[General]\r\nPstName=Archiwum 2019\r\n"));
    std::string shown;
    driver.Then([&](HWND dialog) {
        shown = ControlText(dialog, IDC_PST_NAME);
        SetControlText(dialog, IDC_PST_NAME, "Archiwum 2020");
        GetParam().close(dialog);
    });

    RunProgram();

    EXPECT_EQ("Archiwum 2019", shown);
    EXPECT_EQ("[General]\r\nPstName=Archiwum 2020\r\n", ReadFileBytes(settings.Path()));
    EXPECT_FALSE(IsWindow(driver.Dialog()));
    EXPECT_EQ(RunLines({}), log.Lines());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Closing,
    testing::Values(CloseCase{"CloseButton", [](HWND dialog) { Click(dialog, IDCANCEL); }},
                    CloseCase{"EscapeKey", [](HWND dialog) { PostKey(GetDlgItem(dialog, IDC_PST_NAME), VK_ESCAPE); }},
                    CloseCase{"CloseBox", [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }}),
    [](const testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

TEST_F(Closing, EmptiedEditIsRememberedEmpty)
{
    ASSERT_TRUE(WriteFileBytes(settings.Path(), "[General]\r\nPstName=Archiwum 2019\r\n"));
    driver.Then([&](HWND dialog) {
        SetControlText(dialog, IDC_PST_NAME, "");
        Click(dialog, IDCANCEL);
    });

    RunProgram();

    EXPECT_EQ("[General]\r\nPstName=\r\n", ReadFileBytes(settings.Path()));
}
} // namespace
