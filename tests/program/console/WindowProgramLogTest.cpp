#include "library/fs/FsFolders.h"
#include "program/CPSTStraysweepApp.h"
#include "resources/resource.h"
#include "tests/program/console/LiveProfile.h"
#include "tests/program/console/StraysweepProcess.h"
#include "tests/support/BackupFolderAside.h"
#include "tests/support/NewBackups.h"
#include "tests/support/LogTail.h"
#include "tests/support/MessageBoxCatcher.h"
#include "tests/support/StandInProcess.h"
#include "tests/support/TempFolder.h"

#include <deque>
#include <optional>
#include <regex>

#include <gtest/gtest.h>

// The command line program writes the window program's log lines for the
// same action: the window program's application object runs here, in this
// process, as its entry point would run it, with its window driven by a
// thread timer; the command line program runs as a process of its own on
// the same profile rebuilt. The tests take the locks display, profilesroot,
// datafolder and processlist.
namespace
{
const char* const Pst = "Archiwum";

std::string Id(char digit)
{
    return std::string(32, digit);
}

// One account whose service Id('1') refers to the store Id('2'); Id('3') is
// tied by reference 1, Id('4') and Id('5') are ghosts; Id('5') has a subkey
// when the removal is to fail.
void AddSections(ProfileTreeBuilder& profile, bool failingRemoval)
{
    profile.AddAccount("0001", "Jan", Id('1'));
    profile.AddService(Id('1'), Id('2'));
    profile.AddSection(Id('2'), SectionValues().WideDisplayName(Pst));
    profile.AddSection(Id('3'), SectionValues().NarrowDisplayName(Pst).Reference1(Id('2')));
    profile.AddSection(Id('4'), SectionValues().WideDisplayName("ARCHIWUM").WideProvider("mspst.dll"));
    profile.AddSection(Id('5'), SectionValues().WideDisplayName(Pst).Reference2(Id('9')));
    if (failingRemoval)
        profile.AddKey(Id('5') + "\\child");
}

// What the window is made to do: choose the profile, type the name, press
// `button`, answer the boxes, then close once `boxes` boxes have been shown.
struct WindowScript
{
    std::string profile;
    std::string pst;
    int button = 0;
    size_t boxes = 1;
    MessageBoxCatcher* catcher = nullptr;
    int stage = 0;
    DWORD deadline = 0;
};

WindowScript* g_script = nullptr;

struct ThreadWindows
{
    HWND dialog = nullptr;
    bool boxOpen = false;
};

BOOL CALLBACK FindWindows(HWND window, LPARAM found)
{
    auto* windows = reinterpret_cast<ThreadWindows*>(found);
    if (MessageBoxCatcher::IsMessageBox(window))
        windows->boxOpen = true;
    else if (GetDlgItem(window, IDC_PROFILES) != nullptr)
        windows->dialog = window;
    return TRUE;
}

// Runs inside whichever modal loop is running: the dialog's or a box's.
void CALLBACK DriveWindow(HWND, UINT, UINT_PTR, DWORD)
{
    WindowScript& script = *g_script;
    ThreadWindows windows;
    EnumThreadWindows(GetCurrentThreadId(), &FindWindows, reinterpret_cast<LPARAM>(&windows));
    if (windows.dialog == nullptr || script.stage == 2)
        return;
    if (GetTickCount() > script.deadline)
    {
        ADD_FAILURE() << "the window program was still open after 30 seconds";
        script.stage = 2;
        PostMessageA(windows.dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
    }
    if (script.stage == 0)
    {
        HWND profiles = GetDlgItem(windows.dialog, IDC_PROFILES);
        LRESULT index = SendMessageA(profiles, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(script.profile.c_str()));
        EXPECT_NE(CB_ERR, index) << script.profile << " is not in the window's list";
        SendMessageA(profiles, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SetDlgItemTextA(windows.dialog, IDC_PST_NAME, script.pst.c_str());
        PostMessageA(windows.dialog, WM_COMMAND, MAKEWPARAM(script.button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(windows.dialog, script.button)));
        script.stage = 1;
    }
    else if (!windows.boxOpen && script.catcher->Boxes().size() >= script.boxes)
    {
        PostMessageA(windows.dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        script.stage = 2;
    }
}

// The window program from start to exit, as its entry point runs it; the
// boxes it showed.
std::vector<CapturedBox> RunWindowProgram(WindowScript script, std::deque<int> answers)
{
    MessageBoxCatcher catcher(std::move(answers));
    script.catcher = &catcher;
    script.deadline = GetTickCount() + 30000;
    g_script = &script;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, &DriveWindow);
    CPSTStraysweepApp app;
    app.InitInstance();
    KillTimer(nullptr, timer);
    app.ExitInstance();
    g_script = nullptr;
    // 0: the window never opened; 1: it closed before its boxes were shown.
    EXPECT_EQ(2, script.stage);
    return catcher.Boxes();
}

// The log lines with backup file names made alike: two backups of one
// profile differ in their time stamp and number.
std::vector<std::string> Comparable(std::vector<std::string> lines)
{
    static const std::regex Stamp(R"(\d{4}-\d{2}-\d{2} \d{2}\.\d{2}\.\d{2} - (.*?)( \(\d+\))?\.reg)");
    for (std::string& line : lines)
        line = std::regex_replace(line, Stamp, "<time> - $1.reg");
    return lines;
}

// Settings.ini of the data folder, which the window writes when it closes,
// put back as it was.
class SettingsKept
{
public:
    SettingsKept() : m_path(GetAppDataFolder().Str() + "\\Settings.ini"), m_existed(PathExists(m_path.c_str()))
    {
        m_bytes = ReadFileBytes(m_path);
    }
    ~SettingsKept()
    {
        if (m_existed)
            WriteFileBytes(m_path, m_bytes);
        else
            DeleteFileA(m_path.c_str());
    }

private:
    std::string m_path;
    bool m_existed;
    std::string m_bytes;
};

struct SameActionCase
{
    const char* name;
    int button;
    const char* pst;
    std::deque<int> answers;
    size_t boxes;
    std::vector<std::wstring> consoleOptions;
    DWORD consoleExitCode;
    bool outlookRuns;
    bool backupFails;
    bool removalFails;
};

std::ostream& operator<<(std::ostream& out, const SameActionCase& c)
{
    return out << c.name;
}

class SameAction : public testing::TestWithParam<SameActionCase>
{
};

TEST_P(SameAction, WritesTheWindowProgramsLogLines)
{
    const SameActionCase& action = GetParam();
    SettingsKept settings;
    NewBackups backups;
    std::optional<BackupFolderAside> aside;
    if (action.backupFails)
    {
        aside.emplace();
        ASSERT_TRUE(WriteFileBytes(BackupFolder(), "in the way"));
    }
    std::optional<StandInProcess> outlook;
    if (action.outlookRuns)
        outlook.emplace("OUTLOOK.EXE");

    std::vector<std::string> windowLines;
    {
        LiveProfile profile("same action");
        AddSections(profile, action.removalFails);
        LogTail log;
        std::vector<CapturedBox> boxes =
            RunWindowProgram({profile.Name(), action.pst, action.button, action.boxes}, action.answers);
        EXPECT_EQ(action.boxes, boxes.size());
        windowLines = log.Lines();
    }
    std::vector<std::string> consoleLines;
    {
        LiveProfile profile("same action");
        AddSections(profile, action.removalFails);
        LogTail log;
        std::vector<std::wstring> arguments = {action.button == IDC_CHECK ? L"check" : L"repair", L"--profile",
                                               Wide(profile.Name()), L"--pst", Wide(action.pst)};
        arguments.insert(arguments.end(), action.consoleOptions.begin(), action.consoleOptions.end());
        EXPECT_EQ(action.consoleExitCode, RunStraysweep(arguments).exitCode);
        consoleLines = log.Lines();
    }

    ASSERT_GT(windowLines.size(), 4u);
    EXPECT_EQ("Info: Program started.", windowLines[2]);
    EXPECT_EQ(Comparable(windowLines), Comparable(consoleLines));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SameAction,
    testing::Values(
        SameActionCase{"CheckFindingGhosts", IDC_CHECK, Pst, {}, 1, {}, 1, false, false, false},
        SameActionCase{"CheckFindingNothing", IDC_CHECK, "Kontakty", {}, 1, {}, 0, false, false, false},
        SameActionCase{"Repair", IDOK, Pst, {}, 1, {}, 1, false, false, false},
        SameActionCase{"RepairWithAFailedRemoval", IDOK, Pst, {}, 1, {}, 2, false, false, true},
        SameActionCase{"RepairWhileOutlookRuns", IDOK, Pst, {}, 1, {}, 3, true, false, false},
        SameActionCase{"RepairStoppedByAFailedBackup", IDOK, Pst, {IDNO}, 1, {}, 4, false, true, false},
        SameActionCase{
            "RepairGoingOnWithoutBackup", IDOK, Pst, {IDYES, IDOK}, 2, {L"--without-backup"}, 1, false, true, false}),
    [](const testing::TestParamInfo<SameActionCase>& info) { return std::string(info.param.name); });
} // namespace
