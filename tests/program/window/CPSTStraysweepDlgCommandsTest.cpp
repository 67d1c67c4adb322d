#include "library/system/CProcessesEnum.h"
#include "resources/resource.h"
#include "tests/support/BackupFolderAside.h"
#include "tests/support/DialogControls.h"
#include "tests/support/NewBackups.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/ProgramTexts.h"
#include "tests/support/RegistryTools.h"
#include "tests/support/SampleProfile.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/StandInProcess.h"
#include "tests/support/TempFolder.h"

#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace ProgramTexts;

namespace
{
const std::string OldRoot = ProfileTreeBuilder::MessagingSubsystemRoot;
const std::string Pst = SampleProfile::Pst;

const std::string BackupFailedLine = "Error: Nie można utworzyć backupu dla profilu \"Outlook\".";

// The registry editor reaches only the real HKEY_CURRENT_USER, where these
// scratch profiles are not: it leaves no file behind.
std::string EditorFailed()
{
    return "Program \"" + RegeditPath() + "\" did not successfully finished.";
}

std::string BackupFolderFailed()
{
    return ExceptionText(ERROR_ALREADY_EXISTS, "Failed to create backup folder \"" + BackupFolder() + "\".");
}

class Repair : public ProgramRun
{
protected:
    // Selects the profile, types the PST name and presses "Repair!".
    void TypeAndRepair()
    {
        driver.Then([](HWND dialog) {
            SelectComboEntry(dialog, IDC_PROFILES, "Outlook");
            SetControlText(dialog, IDC_PST_NAME, Pst);
            Click(dialog, IDOK);
        });
    }
    void CloseDialog()
    {
        driver.Then([](HWND dialog) { Click(dialog, IDCANCEL); });
    }

    ScratchRegistry registry;
    SampleProfile profile{"Outlook", OldRoot, true};
    std::set<std::string> original = profile.Tree().Sections();
};

// Neither the selection nor the name is looked at; "&Check" still works.
TEST_F(Repair, OutlookRunningStopsItWithBox112AndOneLineOnly)
{
    StandInProcess outlook("OUTLOOK.EXE");
    driver
        .Then([](HWND dialog) {
            SelectComboEntry(dialog, IDC_PROFILES, "");
            Click(dialog, IDOK);
        })
        .Then([](HWND dialog) {
            SelectComboEntry(dialog, IDC_PROFILES, "Outlook");
            SetControlText(dialog, IDC_PST_NAME, Pst);
            Click(dialog, IDC_CHECK);
        });
    CloseDialog();

    RunProgram();

    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(CloseOutlook, BoxIcon::Exclamation),
                                        ProgramBox(InvalidSectionsFound(Pst, "Outlook"), BoxIcon::Information)}),
              boxes.Boxes());
    std::vector<std::string> refused = {
        "Info: Outlook jest uruchomiony, procedura usuwania nie może zostać rozpoczęta."};
    EXPECT_EQ(RunLines({refused, CheckLines("Outlook", Pst), profile.Trace(true)}), log.Lines());
    EXPECT_EQ(original, profile.Tree().Sections());
}

TEST_F(Repair, FailedBackupAsksAndNoStopsBeforeTheEngine)
{
    boxes.Answer(IDNO);
    TypeAndRepair();
    CloseDialog();

    RunProgram();

    std::string question = BackupFailedContinue + "\n\n" + EditorFailed();
    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(question, BoxIcon::Exclamation, {IDYES, IDNO})}), boxes.Boxes());
    EXPECT_EQ(RunLines({RepairLines("Outlook", Pst), {BackupFailedLine}}), log.Lines());
    EXPECT_EQ(original, profile.Tree().Sections());
}

TEST_F(Repair, FailedBackupAsksAndYesRemovesTheGhostAllTheSame)
{
    boxes.Answer(IDYES);
    TypeAndRepair();
    CloseDialog();

    RunProgram();

    std::string question = BackupFailedContinue + "\n\n" + EditorFailed();
    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(question, BoxIcon::Exclamation, {IDYES, IDNO}),
                                        ProgramBox(GhostRemoved(Pst, "Outlook"), BoxIcon::Information)}),
              boxes.Boxes());
    EXPECT_EQ(RunLines({RepairLines("Outlook", Pst), {BackupFailedLine}, profile.Trace(false)}), log.Lines());
    EXPECT_EQ(SampleProfile::SectionsWithoutGhost(), profile.Tree().Sections());
}

// A file where the backup folder should be: the question carries the
// failed folder creation's code and text.
TEST_F(Repair, BackupFolderThatCannotBeMadeFailsTheBackup)
{
    BackupFolderAside aside;
    ASSERT_TRUE(WriteFileBytes(BackupFolder(), "in the way"));
    boxes.Answer(IDNO);
    TypeAndRepair();
    CloseDialog();

    RunProgram();

    std::string question = BackupFailedContinue + "\n\n" + BackupFolderFailed();
    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(question, BoxIcon::Exclamation, {IDYES, IDNO})}), boxes.Boxes());
    EXPECT_EQ(RunLines({RepairLines("Outlook", Pst), {BackupFailedLine}}), log.Lines());
    EXPECT_EQ("in the way", ReadFileBytes(BackupFolder()));
    EXPECT_EQ(original, profile.Tree().Sections());
}

TEST_F(Repair, EnterInTheEditRunsItAndTheDialogStaysOpen)
{
    boxes.Answer(IDNO);
    bool openAfterRepair = false;
    driver
        .Then([](HWND dialog) {
            SelectComboEntry(dialog, IDC_PROFILES, "Outlook");
            SetControlText(dialog, IDC_PST_NAME, Pst);
            HWND edit = GetDlgItem(dialog, IDC_PST_NAME);
            SetFocus(edit);
            PostKey(edit, VK_RETURN);
        })
        .Then([&](HWND dialog) { openAfterRepair = IsWindowVisible(dialog) && boxes.Boxes().size() == 1; });
    CloseDialog();

    RunProgram();

    EXPECT_TRUE(openAfterRepair);
    EXPECT_EQ(RunLines({RepairLines("Outlook", Pst), {BackupFailedLine}}), log.Lines());
}

// Processes that the test process itself started after construction; they
// are ended on every way out. Their windows are closed first: a folder window
// of Wine's explorer that is killed instead keeps the next explorer from
// showing its window.
class NewChildProcesses
{
public:
    NewChildProcesses() : m_before(ChildIds()) {}
    ~NewChildProcesses()
    {
        for (const PROCESSENTRY32& child : List())
        {
            UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, child.th32ProcessID));
            EnumWindows(CloseVisibleWindowOf, static_cast<LPARAM>(child.th32ProcessID));
            if (WaitForSingleObject(process.Get(), 5000) != WAIT_OBJECT_0)
            {
                TerminateProcess(process.Get(), 0);
                WaitForSingleObject(process.Get(), 10000);
            }
        }
    }
    NewChildProcesses(const NewChildProcesses&) = delete;
    NewChildProcesses& operator=(const NewChildProcesses&) = delete;

    std::vector<PROCESSENTRY32> List() const
    {
        std::vector<PROCESSENTRY32> children;
        CProcessesEnum processes;
        processes.Enumerate();
        for (const PROCESSENTRY32& process : processes)
            if (process.th32ParentProcessID == GetCurrentProcessId() && m_before.count(process.th32ProcessID) == 0)
                children.push_back(process);
        return children;
    }

private:
    static BOOL CALLBACK CloseVisibleWindowOf(HWND window, LPARAM processId)
    {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == static_cast<DWORD>(processId) && IsWindowVisible(window))
            PostMessageA(window, WM_CLOSE, 0, 0);
        return TRUE;
    }

    static std::set<DWORD> ChildIds()
    {
        std::set<DWORD> ids;
        CProcessesEnum processes;
        processes.Enumerate();
        for (const PROCESSENTRY32& process : processes)
            if (process.th32ParentProcessID == GetCurrentProcessId())
                ids.insert(process.th32ProcessID);
        return ids;
    }

    std::set<DWORD> m_before;
};

struct WindowOfProcess
{
    DWORD processId;
    std::string caption;
};

BOOL CALLBACK TakeCaptionOfVisibleWindow(HWND window, LPARAM lParam)
{
    auto* wanted = reinterpret_cast<WindowOfProcess*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != wanted->processId || !IsWindowVisible(window))
        return TRUE;
    wanted->caption = WindowText(window);
    return wanted->caption.empty();
}

// The caption of the first visible top-level window of process `id` that
// shows up within ten seconds; empty when none does.
std::string WaitForWindowOf(DWORD id)
{
    WindowOfProcess search = {id, ""};
    for (int i = 0; i < 200 && search.caption.empty(); ++i)
    {
        EnumWindows(TakeCaptionOfVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.caption.empty())
            Sleep(50);
    }
    return search.caption;
}

class BackupButton : public ProgramRun
{
protected:
    void PressBackupAndClose()
    {
        driver.Then([](HWND dialog) { Click(dialog, IDC_BACKUP); }).Then([this](HWND dialog) {
            openAfterBackup = IsWindowVisible(dialog) != FALSE;
            Click(dialog, IDCANCEL);
        });
    }

    ScratchRegistry registry;
    SampleProfile profile{"Outlook", OldRoot, false};
    NewChildProcesses children;
    bool openAfterBackup = false;
};

// Wine's shell opens a folder in a window of its explorer, named after the
// folder.
TEST_F(BackupButton, ExplainsTheBackupsThenOpensTheirFolder)
{
    PressBackupAndClose();

    RunProgram();

    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(BackupInfo, BoxIcon::Information)}), boxes.Boxes());
    EXPECT_TRUE(openAfterBackup);
    std::vector<PROCESSENTRY32> started = children.List();
    ASSERT_EQ(1u, started.size());
    EXPECT_STRCASEEQ("explorer.exe", started[0].szExeFile);
    EXPECT_EQ("Registry Backup", WaitForWindowOf(started[0].th32ProcessID));
}

// The user's association for folders names a program that is not there: the
// shell cannot open the folder.
TEST_F(BackupButton, FolderTheShellCannotOpenIsNamed)
{
    ScratchRegistry classes(HKEY_CLASSES_ROOT);
    HKEY command = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, "Folder\\shell\\open\\command", 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &command, nullptr));
    const std::string missing = "\"C:\\no such folder\\viewer.exe\" \"%1\"";
    RegSetValueExA(command, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(missing.c_str()),
                   static_cast<DWORD>(missing.size() + 1));
    RegCloseKey(command);
    PressBackupAndClose();

    RunProgram();

    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(BackupInfo, BoxIcon::Information),
                                        ProgramBox(BackupFolderInfo(BackupFolder()), BoxIcon::Information)}),
              boxes.Boxes());
    EXPECT_TRUE(openAfterBackup);
    EXPECT_TRUE(children.List().empty());
}

// The failure leaves the handler: the dialog's guard shows it and the
// dialog goes on.
TEST_F(BackupButton, FolderThatCannotBeMadeIsShownAndTheDialogGoesOn)
{
    BackupFolderAside aside;
    ASSERT_TRUE(WriteFileBytes(BackupFolder(), "in the way"));
    PressBackupAndClose();

    RunProgram();

    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(BackupInfo, BoxIcon::Information), ErrorBox(BackupFolderFailed())}),
              boxes.Boxes());
    EXPECT_TRUE(openAfterBackup);
    EXPECT_TRUE(children.List().empty());
    EXPECT_EQ(RunLines({}), log.Lines());
}
} // namespace
