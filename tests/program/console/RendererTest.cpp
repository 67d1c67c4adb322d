#include "library/base/TextConversion.h"
#include "program/console/ConsoleText.h"
#include "program/console/ExitCode.h"
#include "program/console/JsonRenderer.h"
#include "program/console/TextRenderer.h"

#include <string>

#include <gtest/gtest.h>

// Reports made by hand: what each renderer writes of them, without the
// registry or a backup folder.
namespace
{
std::string Narrow(const std::wstring& text)
{
    return WideToAnsi(text).Str();
}

const wchar_t* const Folder = L"C:\\B";

BackupsCommand::Report TwoBackups()
{
    BackupsCommand::Report report;
    report.folder = Folder;
    report.backups = {{L"C:\\B\\2026-12-08 20.25.36 - Outlook.reg", L"2026-12-08T20:25:36", L"Outlook",
                       L"HKEY_CURRENT_USER\\P\\Outlook", 18342, true},
                      {L"C:\\B\\x.reg", L"", L"Profil \u0141\u00f3d\u017a", L"HKEY_CURRENT_USER\\P\\x", 7, false}};
    return report;
}

// Columns as wide as their longest entry.
TEST(TextRenderer, BackupsLineUpTheirColumns)
{
    BackupsCommand::Report report = TwoBackups();
    report.backups[1].profile = L"Profil Lodz";

    TextRenderer::Printed printed = TextRenderer::Render(report);

    EXPECT_EQ("Registry backups in \"C:\\B\", newest first:\n\n"
              "TAKEN                COMPLETE  BYTES  PROFILE      FILE\n"
              "2026-12-08T20:25:36  yes       18342  Outlook      2026-12-08 20.25.36 - Outlook.reg\n"
              "                     no        7      Profil Lodz  x.reg\n",
              Narrow(printed.out));
    EXPECT_EQ("", Narrow(printed.err));
}

// The names that the backups hold go out exactly, whatever the code page.
TEST(JsonRenderer, BackupsGiveEveryNameInUtf8)
{
    std::string document = JsonRenderer::Render(TwoBackups());

    // The log's path, last, is the running program's.
    const std::string expected =
        "{\"command\":\"backups\",\"exitCode\":0,\"error\":null,\"backups\":["
        "{\"file\":\"C:\\\\B\\\\2026-12-08 20.25.36 - Outlook.reg\",\"taken\":\"2026-12-08T20:25:36\","
        "\"profile\":\"Outlook\",\"key\":\"HKEY_CURRENT_USER\\\\P\\\\Outlook\",\"bytes\":18342,\"complete\":true},"
        "{\"file\":\"C:\\\\B\\\\x.reg\",\"taken\":null,\"profile\":\"Profil \xc5\x81\xc3\xb3\x64\xc5\xba\","
        "\"key\":\"HKEY_CURRENT_USER\\\\P\\\\x\",\"bytes\":7,\"complete\":false}],\"logFile\":\"";
    EXPECT_EQ(expected, document.substr(0, expected.size()));
    EXPECT_EQ("\"}", document.substr(document.size() - 2));
}

// A folder that cannot be read says so on standard error alone.
TEST(TextRenderer, BackupsOfAnUnreadableFolderAreOnlyAnError)
{
    BackupsCommand::Report report;
    report.exitCode = ExitCode::ProfileNotOpened;
    report.error = L"The folder cannot be read.";

    TextRenderer::Printed printed = TextRenderer::Render(report);

    EXPECT_EQ("", Narrow(printed.out));
    EXPECT_EQ("straysweep: The folder cannot be read.\n", Narrow(printed.err));
}

// Gone on without the backup that failed: the warning comes first, and what
// the import left is listed.
TEST(TextRenderer, RestoreWithoutItsBackupWarnsAndListsWhatIsNotBack)
{
    RestoreCommand::Report report;
    report.exitCode = ExitCode::RestoreIncomplete;
    report.error = L"Not everything of the backup is back after the import.";
    report.backupError = L"Disk full.";
    report.imported = true;
    report.missing = {L"[K\\a] \"v\""};
    report.added = {L"[K\\b]"};

    TextRenderer::Printed printed = TextRenderer::Render(report);

    EXPECT_EQ("Missing, or with other data, after the import:\n  [K\\a] \"v\"\n"
              "Added to the profile after the backup was taken, and kept:\n  [K\\b]\n",
              Narrow(printed.out));
    EXPECT_EQ("straysweep: warning: the profile key cannot be backed up; going on without a backup as "
              "--without-backup asks: Disk full.\n"
              "straysweep: Not everything of the backup is back after the import.\n",
              Narrow(printed.err));
}

// A failed backup stops the restore: its reason, then what to do.
TEST(TextRenderer, RestoreStoppedByItsBackupGivesBothReasons)
{
    RestoreCommand::Report report;
    report.exitCode = ExitCode::BackupFailed;
    report.error = L"Add --without-backup.";
    report.backupError = L"Disk full.";

    TextRenderer::Printed printed = TextRenderer::Render(report);

    EXPECT_EQ("", Narrow(printed.out));
    EXPECT_EQ("straysweep: Disk full.\nAdd --without-backup.\n", Narrow(printed.err));
}
// Sections that could not be removed beside those that were: both listed,
// the undo named, and an error line since nothing else failed.
TEST(TextRenderer, RepairThatRemovedSomeSaysWhatFailedAndHowToUndo)
{
    RepairCommand::Report report;
    report.exitCode = ExitCode::RemovalFailed;
    report.profile = L"Outlook";
    report.pst = L"Archive";
    report.backupFile = L"C:\\B\\b.reg";
    report.removedSections = {L"a1"};
    report.failedSections = {L"b2"};
    const std::string log = Narrow(Quote(LogFilePath()));

    TextRenderer::Printed printed = TextRenderer::Render(report);

    EXPECT_EQ(("The profile key was backed up to \"C:\\B\\b.reg\".\n"
               "Removed the invalid sections of the PST \"Archive\" from the profile \"Outlook\":\n  a1\n"
               "Failed to remove these invalid sections (see the log file " +
               log +
               "):\n  b2\n"
               "To undo the removal, close Outlook and run: straysweep restore --backup \"C:\\B\\b.reg\"\n"),
              Narrow(printed.out));
    EXPECT_EQ(("straysweep: some invalid sections could not be removed; see the log file " + log + ".\n"),
              Narrow(printed.err));
}

// The names given are in the document even when the profile cannot be read.
TEST(JsonRenderer, CheckOfAProfileThatCannotBeReadNamesItAndFindsNothing)
{
    CheckCommand::Report report;
    report.exitCode = ExitCode::ProfileNotOpened;
    report.error = L"Cannot open.";
    report.profile = L"Outlook";

    std::string document = JsonRenderer::Render(report);

    const std::string expected = "{\"command\":\"check\",\"exitCode\":5,\"error\":\"Cannot open.\","
                                 "\"profile\":\"Outlook\",\"pst\":null,\"invalidSections\":[],\"logFile\":\"";
    EXPECT_EQ(expected, document.substr(0, expected.size()));
}
// Each candidate's file as far as it is known: none named, there, gone, or
// no answer in time; then the one repair that removes both of a name.
TEST(TextRenderer, ScanSaysWhatIsKnownOfEachFile)
{
    ScanCommand::UserScan user;
    user.root = L"HKEY_CURRENT_USER\\P";
    ScanCommand::ProfileScan scan;
    scan.name = L"Outlook";
    scan.isDefault = true;
    scan.candidates = {{L"a1", L"Archive", L"", std::nullopt},
                       {L"b2", L"Archive", L"C:\\here.pst", true},
                       {L"c3", L"Old", L"C:\\gone.pst", false},
                       {L"d4", L"Far", L"\\\\server\\far.pst", std::nullopt}};
    user.scans = {scan};
    ScanCommand::Report report;
    report.exitCode = ExitCode::InvalidSections;
    report.users = {user};

    TextRenderer::Printed printed = TextRenderer::Render(report);

    EXPECT_EQ("Ghost PST stores in the Outlook profiles of HKEY_CURRENT_USER\\P:\n\n"
              "\"Outlook\" (default):\n"
              "  a1  \"Archive\"  (no PST file named)\n"
              "  b2  \"Archive\"  C:\\here.pst\n"
              "  c3  \"Old\"  C:\\gone.pst (missing)\n"
              "  d4  \"Far\"  \\\\server\\far.pst (no answer in time)\n"
              "\nTo remove them, close Outlook and run:\n"
              "  straysweep repair --profile \"Outlook\" --pst \"Archive\"\n"
              "  straysweep repair --profile \"Outlook\" --pst \"Old\"\n"
              "  straysweep repair --profile \"Outlook\" --pst \"Far\"\n",
              Narrow(printed.out));
    EXPECT_EQ("", Narrow(printed.err));
}
} // namespace
