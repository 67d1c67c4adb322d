#include "program/core/RegistryRestore.h"

#include "tests/support/KeptFile.h"
#include "tests/support/LogTail.h"
#include "tests/support/NewBackups.h"
#include "tests/support/RegistryTools.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/StandInProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TemporaryKey.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// The stand-in editor imports nothing and exports a fixed key: an
// "0a0d020000000000c000000000000046" section whose "001e3001" is
// hex:50,65,72,73,6f,6e,61,6c. What the proof finds therefore follows from the
// backup alone.
namespace
{
const std::string ProfilePath =
    "Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles\\Straysweep core " + std::to_string(GetCurrentProcessId());
const std::string Key = "HKEY_CURRENT_USER\\" + ProfilePath;
const std::string Store = Key + "\\0a0d020000000000c000000000000046";

// A .reg file of ASCII `text`.
std::string Utf16File(const std::string& text)
{
    return RegistryScriptBytes(std::wstring(text.begin(), text.end()));
}

std::string Narrow(const std::wstring& wide)
{
    return std::string(wide.begin(), wide.end());
}

// The command lines of the editor's runs, in order, from its record.
std::vector<std::string> EditorRuns(const std::string& record, const std::string& editor)
{
    std::vector<std::string> runs;
    std::string bytes = ReadFileBytes(record);
    for (size_t begin = 0, end; (end = bytes.find('\n', begin)) != std::string::npos; begin = end + 1)
    {
        std::string line = bytes.substr(begin, end - begin);
        if (line.compare(0, editor.size() + 2, "\"" + editor + "\"") == 0)
            runs.push_back(line);
    }
    return runs;
}

TEST(RegistryRestore, ProofNamesEveryKeyAndValueOfTheBackupThatIsNotBack)
{
    TemporaryKey profile(ProfilePath);
    CreateKey(ProfilePath);
    TempFolder temp;
    std::string file = temp / "backup.reg";
    ASSERT_TRUE(
        WriteFileBytes(file, Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[" + Key + "]\r\n\r\n[" + Store +
                                       "]\r\n\"001e3001\"=hex:50,65\r\n\"001f3001\"=hex:00\r\n\r\n[" + Key +
                                       "\\11111111111111111111111111111111]\r\n\"x\"=dword:00000001\r\n"
                                       "\r\n")));
    NewBackups backups;
    ScopedEnvironment write("STAND_IN_WRITE", "export");
    ScopedEnvironment record("STAND_IN_RECORD", temp / "record.txt");
    const std::string editor = StandInProgramPath();
    LogTail log;

    RegistryRestore::Outcome outcome =
        RegistryRestore(RegistryEditor(editor.c_str(), 10000)).RestoreFile(file.c_str(), "", false);

    EXPECT_EQ(RegistryRestore::Stage::Incomplete, outcome.stage);
    EXPECT_EQ("", outcome.problem.Str());
    std::vector<std::string> missing;
    std::transform(outcome.missing.begin(), outcome.missing.end(), std::back_inserter(missing), Narrow);
    const std::vector<std::string> expected = {"[" + Store + "] \"001e3001\"", "[" + Store + "] \"001f3001\"",
                                               "[" + Key + "\\11111111111111111111111111111111]"};
    EXPECT_EQ(expected, missing);
    EXPECT_TRUE(outcome.added.empty());
    ASSERT_EQ(1u, backups.Names().size());
    std::string before = BackupFolder() + "\\" + backups.Names()[0];
    EXPECT_EQ(before, outcome.backupFile.Str());

    // Backed up, imported from a copy that is gone, exported again: each run
    // with the caller's rights.
    std::vector<std::string> runs = EditorRuns(temp / "record.txt", editor);
    ASSERT_EQ(3u, runs.size());
    EXPECT_EQ("\"" + editor + "\" /e \"" + before + "\" \"" + Key + "\"", runs[0]);
    const std::string import = "\"" + editor + "\" /s \"";
    ASSERT_EQ(import, runs[1].substr(0, import.size()));
    EXPECT_FALSE(FileExists(runs[1].substr(import.size(), runs[1].size() - import.size() - 1)));
    EXPECT_EQ(" \"" + Key + "\"", runs[2].substr(runs[2].size() - Key.size() - 3));
    std::string recorded = ReadFileBytes(temp / "record.txt");
    size_t layers = 0;
    for (size_t at = recorded.find("\n__COMPAT_LAYER=RunAsInvoker\n"); at != std::string::npos;
         at = recorded.find("\n__COMPAT_LAYER=RunAsInvoker\n", at + 1))
        ++layers;
    EXPECT_EQ(3u, layers);

    std::string name = "Straysweep core " + std::to_string(GetCurrentProcessId());
    EXPECT_EQ(
        (std::vector<std::string>{
            "Info:  ", "Info: -- RESTORE --", "Info: Procedura przywracania z pliku \"" + file + "\".",
            "Info: Plik jest backupem profilu \"" + name + "\" (klucz " + Key + ").",
            "Info: Registry backup created in file \"" + before + "\".", "Info: Importowanie pliku \"" + file + "\".",
            "Info: Sprawdzanie profilu po imporcie.", "Error: Inne dane po imporcie: " + expected[0],
            "Error: Brakuje po imporcie: " + expected[1], "Error: Brakuje po imporcie: " + expected[2],
            "Error: Profil \"" + name + "\" nie został w pełni przywrócony z pliku \"" + file + "\"."}),
        log.Lines());
}

// A profile that does not exist needs no backup; an editor that fails says
// so, whatever the export then finds.
TEST(RegistryRestore, FailingEditorOnAMissingProfileIsAFailedImport)
{
    TempFolder temp;
    std::string file = temp / "backup.reg";
    ASSERT_TRUE(WriteFileBytes(file, Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[" + Key + "]\r\n\r\n")));
    NewBackups backups;
    ScopedEnvironment exitCode("STAND_IN_EXIT_CODE", "1");
    const std::string editor = StandInProgramPath();
    LogTail log;

    RegistryRestore::Outcome outcome =
        RegistryRestore(RegistryEditor(editor.c_str(), 10000)).RestoreFile(file.c_str(), "", false);

    EXPECT_EQ(RegistryRestore::Stage::ImportFailed, outcome.stage);
    std::string failed = "Program \"" + editor + "\" did not successfully finished.";
    EXPECT_EQ(failed, outcome.problem.Str());
    EXPECT_FALSE(outcome.profileExisted);
    EXPECT_TRUE(outcome.backupFile.IsEmpty());
    EXPECT_TRUE(backups.Names().empty());
    EXPECT_TRUE(outcome.missing.empty());
    std::vector<std::string> lines = log.Lines();
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(),
                            "Info: Profil \"Straysweep core " + std::to_string(GetCurrentProcessId()) +
                                "\" nie istnieje, backup nie jest potrzebny."));
    EXPECT_EQ(2, std::count(lines.begin(), lines.end(), "Error: " + failed));
}
} // namespace
