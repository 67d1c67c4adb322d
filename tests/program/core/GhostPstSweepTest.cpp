#include "library/base/TextConversion.h"
#include "program/core/GhostPstSweep.h"
#include "program/core/SweepFrontEnd.h"
#include "tests/support/LogTail.h"
#include "tests/support/ProfileTreeBuilder.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/StandInProcess.h"

#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

namespace
{
const char* const ProfileName = "Sweep";
const char* const Pst = "Archiwum";

std::string Id(char digit)
{
    return std::string(32, digit);
}

// The log line of a failure: the log drops the text's line breaks.
std::string ErrorLine(const Error::NvException& failure)
{
    std::string text = failure.GetText().Str();
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    return "Error: " + text;
}

// Answers as scripted and writes down what it was asked, in order.
class ScriptedFrontEnd : public SweepFrontEnd
{
public:
    bool hasInput = true;
    bool goOnWithoutBackup = false;
    // Started while the question is open, as a user may do.
    bool startOutlookWhileAsked = false;
    std::unique_ptr<StandInProcess> outlook;
    std::vector<std::string> asked;
    std::wstring backupError;

    bool ReadInput(std::wstring& profileName, std::wstring& pstName) override
    {
        asked.push_back("input");
        profileName = AnsiToWide(ProfileName);
        pstName = AnsiToWide(Pst);
        return hasInput;
    }
    void OutlookRunning() override { asked.push_back("outlook"); }
    bool ContinueWithoutBackup(const std::wstring& error) override
    {
        asked.push_back("backup");
        backupError = error;
        if (startOutlookWhileAsked)
            outlook = std::make_unique<StandInProcess>("OUTLOOK.EXE");
        return goOnWithoutBackup;
    }
};

// The profile lives in a scratch HKEY_CURRENT_USER that the registry editor,
// a process of its own, does not see: every backup of it fails.
class Sweep : public testing::Test
{
protected:
    void AddProfileWithGhost()
    {
        ProfileTreeBuilder profile(ProfileName);
        profile.AddAccount("0001", "Jan", Id('1'));
        profile.AddService(Id('1'), Id('2'));
        profile.AddSection(Id('2'), SectionValues().WideDisplayName(Pst));
        profile.AddSection(Id('a'), SectionValues().WideDisplayName(Pst));
    }
    bool GhostIsThere() const { return ProfileTreeBuilder(ProfileName).Sections().count(Id('a')) == 1; }

    LogTail log;
    ScratchRegistry registry;
    ScriptedFrontEnd frontEnd;
    GhostPstSweep sweep{frontEnd};
};

TEST_F(Sweep, CheckWithoutInputLogsNothing)
{
    AddProfileWithGhost();
    frontEnd.hasInput = false;
    GhostPstSweep::Outcome outcome = sweep.Check();
    EXPECT_EQ(GhostPstSweep::Stage::InputRefused, outcome.stage);
    EXPECT_TRUE(log.Lines().empty());
}

TEST_F(Sweep, CheckReportsTheInvalidSectionsAfterItsHeaderLines)
{
    AddProfileWithGhost();
    GhostPstSweep::Outcome outcome = sweep.Check();
    EXPECT_EQ(GhostPstSweep::Stage::Finished, outcome.stage);
    EXPECT_EQ(CoreOutcome::What::InvalidSections, outcome.Result().what);
    ASSERT_EQ(1u, outcome.invalidSections.size());
    EXPECT_EQ(AnsiToWide(Id('a').c_str()), outcome.invalidSections[0]);
    std::vector<std::string> lines = log.Lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(std::vector<std::string>({"Info:  ", "Info: -- CHECK --",
                                        "Info: Proces sprawdzania dla profilu \"Sweep\" i magazynu PST \"Archiwum\"."}),
              std::vector<std::string>(lines.begin(), lines.begin() + 3));
    EXPECT_TRUE(GhostIsThere());
}

TEST_F(Sweep, ProfileThatDoesNotOpenStopsWithTheLoggedFailure)
{
    GhostPstSweep::Outcome outcome = sweep.Check();
    EXPECT_EQ(GhostPstSweep::Stage::Stopped, outcome.stage);
    EXPECT_EQ(CoreOutcome::What::ProfileNotOpened, outcome.Result().what);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), outcome.Result().systemCode);
    ASSERT_TRUE(outcome.failure.has_value());
    EXPECT_EQ(ErrorLine(*outcome.failure), log.Lines().back());
    EXPECT_EQ("ProfileReading.cpp", outcome.failure->GetModule().Str());
}

TEST_F(Sweep, RepairWhileOutlookRunsTellsTheFrontEndBeforeItsOnlyLine)
{
    AddProfileWithGhost();
    StandInProcess outlook("OUTLOOK.EXE");
    GhostPstSweep::Outcome outcome = sweep.Repair();
    EXPECT_EQ(GhostPstSweep::Stage::OutlookRunning, outcome.stage);
    EXPECT_EQ(std::vector<std::string>({"outlook"}), frontEnd.asked);
    EXPECT_EQ(std::vector<std::string>({"Info: Outlook jest uruchomiony, procedura usuwania nie może zostać "
                                        "rozpoczęta."}),
              log.Lines());
    EXPECT_TRUE(GhostIsThere());
}

struct BackupAnswerCase
{
    const char* name;
    bool goOn;
    GhostPstSweep::Stage stage;
    bool ghostRemains;
};

std::ostream& operator<<(std::ostream& out, const BackupAnswerCase& c)
{
    return out << c.name;
}

class FailedBackup : public Sweep, public testing::WithParamInterface<BackupAnswerCase>
{
};

TEST_P(FailedBackup, AsksTheFrontEndWhetherToGoOn)
{
    AddProfileWithGhost();
    frontEnd.goOnWithoutBackup = GetParam().goOn;
    GhostPstSweep::Outcome outcome = sweep.Repair();
    EXPECT_EQ(GetParam().stage, outcome.stage);
    EXPECT_EQ(std::vector<std::string>({"input", "backup"}), frontEnd.asked);
    EXPECT_FALSE(outcome.backupError.empty());
    EXPECT_EQ(outcome.backupError, frontEnd.backupError);
    EXPECT_TRUE(outcome.backupFile.IsEmpty());
    EXPECT_TRUE(log.Contains("Error: Nie można utworzyć backupu dla profilu \"Sweep\"."));
    EXPECT_EQ(GetParam().ghostRemains, GhostIsThere());
    EXPECT_EQ(GetParam().ghostRemains ? 0u : 1u, outcome.invalidSections.size());
}

INSTANTIATE_TEST_SUITE_P(Table, FailedBackup,
                         testing::Values(BackupAnswerCase{"No", false, GhostPstSweep::Stage::BackupDeclined, true},
                                         BackupAnswerCase{"Yes", true, GhostPstSweep::Stage::Finished, false}));

// Outlook started after the first check would write the profile back over
// the removal: it is looked for again right before the first one.
TEST_F(Sweep, OutlookStartedWhileAskedStopsTheRepairBeforeAnyRemoval)
{
    AddProfileWithGhost();
    frontEnd.goOnWithoutBackup = true;
    frontEnd.startOutlookWhileAsked = true;
    GhostPstSweep::Outcome outcome = sweep.Repair();
    EXPECT_EQ(GhostPstSweep::Stage::OutlookRunning, outcome.stage);
    EXPECT_EQ(std::vector<std::string>({"input", "backup", "outlook"}), frontEnd.asked);
    EXPECT_TRUE(outcome.invalidSections.empty());
    EXPECT_EQ("Info: Outlook jest uruchomiony, procedura usuwania nie może zostać rozpoczęta.", log.Lines().back());
    EXPECT_TRUE(GhostIsThere());
}

TEST_F(Sweep, ProfileCheckedBeforeBackupStopsWithoutOne)
{
    GhostPstSweep::Outcome outcome = sweep.Repair(GhostPstSweep::Strictness::FailClosed);
    EXPECT_EQ(GhostPstSweep::Stage::Stopped, outcome.stage);
    EXPECT_EQ(std::vector<std::string>({"input"}), frontEnd.asked);
    EXPECT_TRUE(outcome.backupError.empty());
    ASSERT_TRUE(outcome.failure.has_value());
    EXPECT_EQ(ErrorLine(*outcome.failure), log.Lines().back());
}
} // namespace
