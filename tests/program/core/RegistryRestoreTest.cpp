#include "program/core/RegistryRestore.h"

#include "library/base/UniqueHandle.h"
#include "library/error/ErrorMessages.h"
#include "tests/support/KeptFile.h"
#include "tests/support/LogTail.h"
#include "tests/support/NewBackups.h"
#include "tests/support/PlantedLink.h"
#include "tests/support/RegistryTools.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/StandInProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TemporaryKey.h"

#include <sddl.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// The stand-in editor exports a fixed key: an
// "0a0d020000000000c000000000000046" section whose "001e3001" is
// hex:50,65,72,73,6f,6e,61,6c. The restore writes by itself, so the editor
// only ever takes the backup before it.
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

// A key that cannot be written (the registry takes no name of more than
// 255 characters) is named, the rest is written all the same, and the proof
// finds what is missing.
TEST(RegistryRestore, KeyThatCannotBeWrittenIsNamedAndTheRestIsWrittenAndProved)
{
    TemporaryKey profile(ProfilePath);
    CreateKey(ProfilePath);
    const std::string tooLong = Key + "\\" + std::string(300, 'n');
    TempFolder temp;
    std::string file = temp / "backup.reg";
    ASSERT_TRUE(WriteFileBytes(file, Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[" + Key + "]\r\n\r\n[" +
                                               Store + "]\r\n\"001e3001\"=hex:50,65\r\n\r\n[" + tooLong +
                                               "]\r\n\"x\"=dword:00000001\r\n\r\n[" + Key +
                                               "\\11111111111111111111111111111111]\r\n\"x\"=dword:00000001\r\n"
                                               "\r\n")));
    NewBackups backups;
    ScopedEnvironment write("STAND_IN_WRITE", "export");
    ScopedEnvironment record("STAND_IN_RECORD", temp / "record.txt");
    const std::string editor = StandInProgramPath();
    LogTail log;

    RegistryRestore::Outcome outcome =
        RegistryRestore(RegistryEditor(editor.c_str(), 10000)).RestoreFile(file.c_str(), L"", false);

    EXPECT_EQ(RegistryRestore::Stage::ImportFailed, outcome.stage);
    const std::string problem = "Not everything of the backup can be written, first [" + tooLong +
                                "]: " + Error::GetSystemErrorSentence(ERROR_INVALID_PARAMETER).Str();
    EXPECT_EQ(problem, Narrow(outcome.problem));
    std::vector<std::string> missing;
    std::transform(outcome.missing.begin(), outcome.missing.end(), std::back_inserter(missing), Narrow);
    EXPECT_EQ(std::vector<std::string>{"[" + tooLong + "]"}, missing);
    EXPECT_TRUE(outcome.added.empty());
    EXPECT_EQ("[" + ProfilePath + "]\n[" + ProfilePath + "\\0a0d020000000000c000000000000046]\n001e3001 3: 80 101\n[" +
                  ProfilePath + "\\11111111111111111111111111111111]\nx 4: 1 0 0 0\n",
              DumpTree(ProfilePath));
    ASSERT_EQ(1u, backups.Names().size());
    std::string before = BackupFolder() + "\\" + backups.Names()[0];
    EXPECT_EQ(before, outcome.backupFile.Str());
    std::vector<std::string> runs = EditorRuns(temp / "record.txt", editor);
    EXPECT_EQ(std::vector<std::string>{"\"" + editor + "\" /e \"" + before + "\" \"" + Key + "\""}, runs);

    std::string name = "Straysweep core " + std::to_string(GetCurrentProcessId());
    EXPECT_EQ(
        (std::vector<std::string>{
            "Info:  ", "Info: -- RESTORE --", "Info: Procedura przywracania z pliku \"" + file + "\".",
            "Info: Plik jest backupem profilu \"" + name + "\" (klucz " + Key + ").",
            "Info: Registry backup created in file \"" + before + "\".", "Info: Importowanie pliku \"" + file + "\".",
            "Error: " + problem, "Info: Sprawdzanie profilu po imporcie.", "Error: Brakuje po imporcie: " + missing[0],
            "Error: Profil \"" + name + "\" nie został w pełni przywrócony z pliku \"" + file + "\"."}),
        log.Lines());
}

// The kernel's name of key `path` of HKEY_CURRENT_USER, as a symbolic link
// names its target.
std::wstring KernelName(const std::string& path)
{
    HANDLE token = nullptr;
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    UniqueKernelHandle owned(token);
    BYTE user[256] = {};
    DWORD size = 0;
    EXPECT_TRUE(GetTokenInformation(token, TokenUser, user, sizeof(user), &size));
    LPWSTR sid = nullptr;
    EXPECT_TRUE(ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &sid));
    UniqueLocalMemory ownedSid(sid);
    return L"\\Registry\\User\\" + std::wstring(sid) + L"\\" + std::wstring(path.begin(), path.end());
}

// A key of the profile that a user made a symbolic link to another key of
// their hive is not followed: nothing is written below the key it points to,
// and the rest of the backup is written.
TEST(RegistryRestore, KeyThatIsASymbolicLinkIsNotFollowed)
{
    TemporaryKey profile(ProfilePath);
    CreateKey(ProfilePath);
    const std::string outside = "Software\\Straysweep core " + std::to_string(GetCurrentProcessId()) + " outside";
    TemporaryKey outsideKey(outside);
    CreateKey(outside);
    PlantedLink link(ProfilePath + "\\link", KernelName(outside));
    ASSERT_TRUE(link.IsPlanted());
    TempFolder temp;
    std::string file = temp / "backup.reg";
    ASSERT_TRUE(WriteFileBytes(file, Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[" + Key + "]\r\n\r\n[" +
                                               Key + "\\link\\sub]\r\n\"x\"=dword:00000001\r\n\r\n[" + Key +
                                               "\\11111111111111111111111111111111]\r\n\"x\"=dword:00000001\r\n"
                                               "\r\n")));
    NewBackups backups;
    // The stand-in's export lacks the link that the profile lists, so the
    // backup fails: the restore goes on without it.
    ScopedEnvironment write("STAND_IN_WRITE", "export");

    RegistryRestore::Outcome outcome =
        RegistryRestore(RegistryEditor(StandInProgramPath().c_str(), 10000)).RestoreFile(file.c_str(), L"", true);

    EXPECT_EQ(RegistryRestore::Stage::ImportFailed, outcome.stage);
    EXPECT_EQ("Not everything of the backup can be written, first [" + Key +
                  "\\link\\sub]: " + Error::GetSystemErrorSentence(681).Str(),
              Narrow(outcome.problem));
    EXPECT_EQ("[" + outside + "]\n", DumpTree(outside));
    EXPECT_EQ("[" + ProfilePath + "\\11111111111111111111111111111111]\nx 4: 1 0 0 0\n",
              DumpTree(ProfilePath + "\\11111111111111111111111111111111"));
    std::vector<std::string> missing;
    std::transform(outcome.missing.begin(), outcome.missing.end(), std::back_inserter(missing), Narrow);
    EXPECT_EQ(std::vector<std::string>{"[" + Key + "\\link\\sub]"}, missing);
}

// The profile key itself made a link: nothing is written, not below it nor
// below the key it points to.
TEST(RegistryRestore, ProfileKeyThatIsASymbolicLinkIsNotWritten)
{
    const std::string outside = "Software\\Straysweep core " + std::to_string(GetCurrentProcessId()) + " outside";
    TemporaryKey outsideKey(outside);
    CreateKey(outside);
    TemporaryKey profile(ProfilePath);
    PlantedLink link(ProfilePath, KernelName(outside));
    ASSERT_TRUE(link.IsPlanted());
    TempFolder temp;
    std::string file = temp / "backup.reg";
    ASSERT_TRUE(WriteFileBytes(
        file, Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[" + Key + "]\r\n\"x\"=dword:00000001\r\n\r\n")));
    NewBackups backups;

    RegistryRestore::Outcome outcome =
        RegistryRestore(RegistryEditor(StandInProgramPath().c_str(), 10000)).RestoreFile(file.c_str(), L"", true);

    EXPECT_EQ(RegistryRestore::Stage::ImportFailed, outcome.stage);
    EXPECT_EQ("The profile key cannot be opened for the import: " + Error::GetSystemErrorSentence(681).Str(),
              Narrow(outcome.problem));
    EXPECT_EQ("[" + outside + "]\n", DumpTree(outside));
}

// A profile that does not exist needs no backup: the editor is not started,
// and the profile is made from the file.
TEST(RegistryRestore, MissingProfileIsMadeFromTheFileWithoutTheEditor)
{
    TemporaryKey profile(ProfilePath);
    TempFolder temp;
    std::string file = temp / "backup.reg";
    ASSERT_TRUE(WriteFileBytes(file, Utf16File("Windows Registry Editor Version 5.00\r\n\r\n[" + Key + "]\r\n\r\n[" +
                                               Key + "\\11111111111111111111111111111111]\r\n@=\"a\"\r\n\r\n")));
    NewBackups backups;
    ScopedEnvironment record("STAND_IN_RECORD", temp / "record.txt");
    LogTail log;

    RegistryRestore::Outcome outcome =
        RegistryRestore(RegistryEditor(StandInProgramPath().c_str(), 10000)).RestoreFile(file.c_str(), L"", false);

    EXPECT_EQ(RegistryRestore::Stage::Restored, outcome.stage);
    EXPECT_EQ("", Narrow(outcome.problem));
    EXPECT_FALSE(outcome.profileExisted);
    EXPECT_TRUE(outcome.backupFile.IsEmpty());
    EXPECT_TRUE(backups.Names().empty());
    EXPECT_FALSE(FileExists(temp / "record.txt"));
    EXPECT_EQ("[" + ProfilePath + "]\n[" + ProfilePath + "\\11111111111111111111111111111111]\n 1: 97 0 0 0\n",
              DumpTree(ProfilePath));
    std::vector<std::string> lines = log.Lines();
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(),
                            "Info: Profil \"Straysweep core " + std::to_string(GetCurrentProcessId()) +
                                "\" nie istnieje, backup nie jest potrzebny."));
}
} // namespace
