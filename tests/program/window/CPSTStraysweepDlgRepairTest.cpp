#include "library/base/TextConversion.h"
#include "program/core/CLogFile.h"
#include "program/core/ProfilesRoot.h"
#include "resources/resource.h"
#include "tests/support/DialogControls.h"
#include "tests/support/NewBackups.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/ProgramTexts.h"
#include "tests/support/RegistryTools.h"
#include "tests/support/SampleProfile.h"
#include "tests/support/TemporaryKey.h"
#include "tests/support/TempFolder.h"

#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace ProgramTexts;

// Repairs with real backups: the registry editor that makes them is a
// process of its own and sees only the real HKEY_CURRENT_USER of the prefix,
// so these profiles lie in the real profiles roots, for the test's duration.
namespace
{
const std::string Pst = SampleProfile::Pst;
const std::string ProfileName = "Straysweep Test";

class RepairWithBackup : public ProgramRun, public testing::WithParamInterface<const char*>
{
protected:
    std::string Root() const { return GetParam(); }
    std::string KeyText() const { return "HKEY_CURRENT_USER\\" + Root() + "\\" + ProfileName; }

    // Selects the profile, types the PST name, presses "Repair!", checks
    // that the dialog stayed open and closes it.
    void RepairAndClose()
    {
        driver.Then([this](HWND dialog) {
            SelectComboEntry(dialog, IDC_PROFILES, ProfileName);
            SetControlText(dialog, IDC_PST_NAME, Pst);
            Click(dialog, IDOK);
            openAfterRepair = IsWindowVisible(dialog) != FALSE;
            Click(dialog, IDCANCEL);
        });
    }

    TemporaryKey cleanup{Root() + "\\" + ProfileName};
    NewBackups backups;
    bool openAfterRepair = false;
};

std::string ProfileNameOf(const testing::TestParamInfo<const char*>& info)
{
    return std::string(info.param).find("Office") != std::string::npos ? "Office16" : "MessagingSubsystem";
}

// The backup holds the profile as it was: importing it brings the ghost back
// and leaves the profile exactly as before the repair.
TEST_P(RepairWithBackup, BacksUpThenRemovesTheGhostAndTheBackupRestoresIt)
{
    SampleProfile profile(ProfileName, Root(), true);
    ASSERT_EQ(AnsiToWide(Root()), FindProfilesRoot()) << "profiles of a root that comes first are in the way";
    const std::string before = DumpTree(Root() + "\\" + ProfileName);
    RepairAndClose();

    RunProgram();

    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(GhostRemoved(Pst, ProfileName), BoxIcon::Information)}),
              boxes.Boxes());
    EXPECT_TRUE(openAfterRepair);
    EXPECT_EQ(SampleProfile::SectionsWithoutGhost(), profile.Tree().Sections());

    ASSERT_EQ(1u, backups.Names().size());
    const std::string name = backups.Names()[0];
    EXPECT_TRUE(std::regex_match(name, std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}\.\d{2}\.\d{2} - Straysweep Test\.reg)")))
        << name;
    const std::string file = BackupFolder() + "\\" + name;
    const std::string backupLine = "Info: Registry backup created in file \"" + file + "\".";
    EXPECT_EQ(RunLines({RepairLines(ProfileName, Pst), {backupLine}, profile.Trace(false)}), log.Lines());

    const std::string script = ReadRegistryScript(file);
    const std::string head = "Windows Registry Editor Version 5.00\r\n\r\n[" + KeyText() + "]\r\n\r\n";
    EXPECT_EQ(head, script.substr(0, head.size()));
    const std::string ghost = "[" + KeyText() + "\\" + SampleProfile::Id('a') + "]\r\n\"001f3001\"=hex:41,00,72,00,";
    EXPECT_NE(std::string::npos, script.find(ghost)) << script;

    ASSERT_EQ(0u, RunToEnd("\"" + RegeditPath() + "\" /s \"" + file + "\""));
    EXPECT_EQ(before, DumpTree(Root() + "\\" + ProfileName));
}

// A ghost with a key of its own cannot be deleted; the other ghost goes all
// the same.
TEST_P(RepairWithBackup, FailedDeletionShowsTheLogsPath)
{
    SampleProfile profile(ProfileName, Root(), true);
    profile.Tree().AddSection(SampleProfile::Id('b'), SectionValues().WideDisplayName(Pst));
    profile.Tree().AddKey(SampleProfile::Id('a') + "\\Own");
    ASSERT_EQ(AnsiToWide(Root()), FindProfilesRoot()) << "profiles of a root that comes first are in the way";
    RepairAndClose();

    RunProgram();

    const std::string logPath = CLogFile::Instance().GetFilePath().Str();
    EXPECT_EQ((std::vector<CapturedBox>{ProgramBox(RemovalFailed(Pst, ProfileName, logPath), BoxIcon::Exclamation)}),
              boxes.Boxes());
    EXPECT_TRUE(openAfterRepair);
    std::set<std::string> expected = SampleProfile::SectionsWithoutGhost();
    expected.insert(SampleProfile::Id('a'));
    EXPECT_EQ(expected, profile.Tree().Sections());
    EXPECT_TRUE(log.Contains(LogTail::ErrorLine(ERROR_ACCESS_DENIED, "Błąd podczas usuwania niepoprawnej sekcji.")));
    EXPECT_TRUE(log.Contains("Info: Ta sekcja jest niepoprawna i została usunięta."));
    EXPECT_EQ(1u, backups.Names().size());
}

INSTANTIATE_TEST_SUITE_P(Roots, RepairWithBackup,
                         testing::Values(ProfileTreeBuilder::MessagingSubsystemRoot, ProfileTreeBuilder::Office16Root),
                         ProfileNameOf);
} // namespace
