#include "library/base/TextConversion.h"
#include "library/error/NvExceptionCommon.h"
#include "library/error/NvExceptionText.h"
#include "library/fs/FsFolders.h"
#include "library/system/CProcessesEnum.h"
#include "program/core/RegistryBackup.h"
#include "tests/support/BackupFolderAside.h"
#include "tests/support/LogTail.h"
#include "tests/support/NewBackups.h"
#include "tests/support/RegistryTools.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/StandInProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TemporaryKey.h"

#include <mbctype.h>

#include <algorithm>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{
// The tests name keys and profiles in the ANSI code page.
NvFsPath CreateRegistryBackup(const RegistryEditor& editor, const char* keyText, const char* profileName)
{
    return ::CreateRegistryBackup(editor, AnsiToWide(keyText), AnsiToWide(profileName));
}

NvFsPath CreateRegistryBackup(const char* keyText, const char* profileName)
{
    return ::CreateRegistryBackup(AnsiToWide(keyText), AnsiToWide(profileName));
}

const char* const ProfilesPath =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";
// A key that the stand-in editor exports but nobody creates: the export
// lacks no key of it.
const char* const UnlistedKey = "HKEY_CURRENT_USER\\Software\\Straysweep test key that is not there";

// Local time stamps in the form of the backup file names, one a second from
// now on: the names a backup taken within the next `seconds` may get.
std::vector<std::string> ComingTimeStamps(int seconds)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    std::vector<std::string> stamps;
    for (int i = 0; i < seconds; ++i, time.QuadPart += 10000000ULL)
    {
        FILETIME utc{time.LowPart, time.HighPart};
        FILETIME local;
        SYSTEMTIME t;
        FileTimeToLocalFileTime(&utc, &local);
        FileTimeToSystemTime(&local, &t);
        char text[32];
        wsprintfA(text, "%04u-%02u-%02u %02u.%02u.%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
        stamps.push_back(text);
    }
    return stamps;
}

std::string Now()
{
    return ComingTimeStamps(1)[0];
}

// A mail profile in a scratch key below the real HKEY_CURRENT_USER: the test
// reaches it through the redirected HKEY_CURRENT_USER, the registry editor
// (a process of its own) under its full real path.
class TestProfile
{
public:
    explicit TestProfile(const std::string& name) : m_name(name)
    {
        const std::string store = Section("0a0d020000000000c000000000000046");
        SetValue(store, "001e3001", REG_BINARY, std::string("Personal Folders\0", 17));
        SetValue(store, "01023d00", REG_BINARY, "\x01\x02\xfe\xff");
        const std::string accounts = Section("9375cff0413111d3b88a00104b2a6676") + "\\00000002";
        SetValue(accounts, "Account Name", REG_SZ, std::string("Main \"mail\" C:\\box\0", 19));
        SetValue(accounts, "Mini UID", REG_DWORD, std::string("\x2a\x00\x00\x00", 4));
        const std::string ghost = Section("f86ae3c3c0a1b44da9f8a6bbaf3c0e6e");
        SetValue(ghost, "00033009", REG_BINARY, "");
        SetValue(ghost, "Paths", REG_MULTI_SZ, std::string("a\0b\0\0", 5));
    }

    std::string KeyText() const { return "HKEY_CURRENT_USER\\" + m_scratch.RealPath() + "\\" + Path(); }
    std::string Path() const { return std::string(ProfilesPath) + "\\" + m_name; }
    std::string Section(const std::string& id) const { return Path() + "\\" + id; }

private:
    static void SetValue(const std::string& keyPath, const char* name, DWORD type, const std::string& data)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                                static_cast<DWORD>(data.size())));
        RegCloseKey(key);
    }

    ScratchRegistry m_scratch;
    std::string m_name;
};

bool IsRunning(const char* exeName)
{
    CProcessesEnum processes;
    processes.Enumerate();
    for (const PROCESSENTRY32& process : processes)
        if (NvFsPath(process.szExeFile).GetFileName().CompareNoCase(exeName) == 0)
            return true;
    return false;
}

struct SafeNameCase
{
    const char* text;
    char replacement;
    const char* safe;
};

class SafeFileName : public testing::TestWithParam<SafeNameCase>
{
};

TEST_P(SafeFileName, ReplacesWhatCannotStandInAFileName)
{
    EXPECT_EQ(GetParam().safe, ReplaceInvalidFileNameChars(GetParam().text, GetParam().replacement).Str());
}

INSTANTIATE_TEST_SUITE_P(Table, SafeFileName,
                         testing::Values(SafeNameCase{"", '_', ""}, SafeNameCase{"Outlook", '_', "Outlook"},
                                         SafeNameCase{"A/B:C", '_', "A_B_C"},
                                         SafeNameCase{"\\/:*?\"<>|\t\r\n", '_', "____________"},
                                         SafeNameCase{"a\x01"
                                                      "b\x1f"
                                                      "c\x7f",
                                                      '_', "a_b_c\x7f"},
                                         SafeNameCase{" .-+()[]{}'&%$#@!~", '_', " .-+()[]{}'&%$#@!~"},
                                         SafeNameCase{"Poczta służbowa", '_', "Poczta s_u_bowa"},
                                         SafeNameCase{"\x80\xff", '_', "__"}, SafeNameCase{"a:b", '-', "a-b"}));

TEST(SafeFileNameInDoubleByteCodePage, TrailByteBackslashDoesNotSurvive)
{
    // Shift-JIS 0x95 0x5C is one character whose second byte is "\".
    int codePage = _getmbcp();
    ASSERT_EQ(0, _setmbcp(932));
    CString safe = ReplaceInvalidFileNameChars("x\x95\x5cy", '_');
    _setmbcp(codePage);
    EXPECT_EQ("x__y", safe.Str());
}

TEST(BackupFolder, LiesInTheProductFolderAndIsMadeWhenMissing)
{
    BackupFolderAside aside;
    NvFsPath folder = GetRegistryBackupFolder();
    EXPECT_EQ(BackupFolder(), folder.Str());
    EXPECT_TRUE(DirectoryExists(folder));
}

TEST(BackupFolder, FileInItsPlaceFailsWith108AndNoEditorRuns)
{
    BackupFolderAside aside;
    ASSERT_TRUE(WriteFileBytes(BackupFolder(), "in the way"));
    LogTail log;
    std::string message = "Failed to create backup folder \"" + BackupFolder() + "\".";
    try
    {
        GetRegistryBackupFolder();
        FAIL() << "no exception";
    }
    catch (const Error::NvExceptionCommon& e)
    {
        EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), e.GetError());
        EXPECT_EQ(message, e.GetMessage().Str());
        EXPECT_EQ("RegistryBackup.cpp", e.GetModule().Str());
    }

    ScopedEnvironment write("STAND_IN_WRITE", "commandline");
    try
    {
        CreateRegistryBackup(RegistryEditor(StandInProgramPath().c_str(), 10000), "HKEY_CURRENT_USER\\Software", "P");
        FAIL() << "no exception";
    }
    catch (const Error::NvExceptionCommon& e)
    {
        EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), e.GetError());
        EXPECT_EQ(message, e.GetMessage().Str());
    }
    EXPECT_EQ("in the way", ReadFileBytes(BackupFolder()));
    EXPECT_EQ("", log.Bytes());
}

TEST(RegistryBackup, FileIsNamedByLocalTimeAndSafeProfileNameAndLoggedOnce)
{
    TestProfile profile("A/B:C");
    NewBackups backups;
    LogTail log;
    std::string before = Now();
    NvFsPath made = CreateRegistryBackup(profile.KeyText().c_str(), "A/B:C");
    std::string after = Now();

    ASSERT_EQ(1u, backups.Names().size());
    std::string name = backups.Names()[0];
    ASSERT_TRUE(std::regex_match(name, std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}\.\d{2}\.\d{2} - A_B_C\.reg)"))) << name;
    std::string stamp = name.substr(0, 19);
    EXPECT_LE(before, stamp);
    EXPECT_GE(after, stamp);

    std::string path = BackupFolder() + "\\" + name;
    EXPECT_EQ(path, made.Str());
    std::string line = log.Bytes();
    std::string expected = " Info: Registry backup created in file \"" + path + "\".\r\n";
    ASSERT_GT(line.size(), expected.size());
    EXPECT_EQ(expected, line.substr(line.size() - expected.size()));
    EXPECT_TRUE(std::regex_match(line.substr(0, line.size() - expected.size()),
                                 std::regex(R"(\d{4}\.\d{2}\.\d{2} \d{2}:\d{2}:\d{2})")))
        << line;
}

TEST(RegistryBackup, FileHoldsTheProfileKeyWithItsSectionsUnderTheUnchangedName)
{
    const std::string name = "Poczta służbowa";
    TestProfile profile(name);
    NewBackups backups;
    CreateRegistryBackup(profile.KeyText().c_str(), name.c_str());

    ASSERT_EQ(1u, backups.Names().size());
    std::string fileName = backups.Names()[0];
    EXPECT_EQ(" - Poczta s_u_bowa.reg", fileName.substr(19));
    const std::string key = profile.KeyText();
    std::string expected = "Windows Registry Editor Version 5.00\r\n\r\n"
                           "[" +
                           key +
                           "]\r\n\r\n"
                           "[" +
                           key +
                           "\\0a0d020000000000c000000000000046]\r\n"
                           "\"001e3001\"=hex:50,65,72,73,6f,6e,61,6c,20,46,6f,6c,64,65,72,73,00\r\n"
                           "\"01023d00\"=hex:01,02,fe,ff\r\n\r\n"
                           "[" +
                           key +
                           "\\9375cff0413111d3b88a00104b2a6676]\r\n\r\n"
                           "[" +
                           key +
                           "\\9375cff0413111d3b88a00104b2a6676\\00000002]\r\n"
                           "\"Account Name\"=\"Main \\\"mail\\\" C:\\\\box\"\r\n"
                           "\"Mini UID\"=dword:0000002a\r\n\r\n"
                           "[" +
                           key +
                           "\\f86ae3c3c0a1b44da9f8a6bbaf3c0e6e]\r\n"
                           "\"00033009\"=hex:\r\n"
                           "\"Paths\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n\r\n";
    EXPECT_EQ(expected, ReadRegistryScript(BackupFolder() + "\\" + fileName));
}

TEST(RegistryBackup, ImportingTheFileRestoresDeletedSectionsExactly)
{
    TestProfile profile("Outlook");
    NewBackups backups;
    std::string original = DumpTree(profile.Path());
    CreateRegistryBackup(profile.KeyText().c_str(), "Outlook");
    ASSERT_EQ(1u, backups.Names().size());

    ASSERT_EQ(ERROR_SUCCESS,
              RegDeleteTreeA(HKEY_CURRENT_USER, profile.Section("9375cff0413111d3b88a00104b2a6676").c_str()));
    ASSERT_EQ(ERROR_SUCCESS,
              RegDeleteTreeA(HKEY_CURRENT_USER, profile.Section("f86ae3c3c0a1b44da9f8a6bbaf3c0e6e").c_str()));
    ASSERT_NE(original, DumpTree(profile.Path()));

    std::string file = BackupFolder() + "\\" + backups.Names()[0];
    ASSERT_EQ(0u, RunToEnd("\"" + RegeditPath() + "\" /s \"" + file + "\""));
    EXPECT_EQ(original, DumpTree(profile.Path()));
}

class TakenFileName : public testing::TestWithParam<int>
{
};

TEST_P(TakenFileName, NextBackupGetsTheNextFreeNumberAndEarlierOnesStay)
{
    const int taken = GetParam();
    TestProfile profile("P");
    NewBackups backups;
    // Earlier backups for every second the call may fall into.
    std::vector<std::string> earlier;
    for (const std::string& stamp : ComingTimeStamps(10))
    {
        earlier.push_back(stamp + " - P.reg");
        for (int number = 2; number <= taken; ++number)
            earlier.push_back(stamp + " - P (" + std::to_string(number) + ").reg");
    }
    for (const std::string& name : earlier)
        ASSERT_TRUE(WriteFileBytes(BackupFolder() + "\\" + name, "earlier " + name));

    NvFsPath returned = CreateRegistryBackup(profile.KeyText().c_str(), "P");

    std::vector<std::string> made;
    for (const std::string& name : backups.Names())
        if (std::find(earlier.begin(), earlier.end(), name) == earlier.end())
            made.push_back(name);
    ASSERT_EQ(1u, made.size());
    std::string suffix = " - P (" + std::to_string(taken + 1) + ").reg";
    EXPECT_EQ(suffix, made[0].substr(19));
    EXPECT_EQ(BackupFolder() + "\\" + made[0], returned.Str());
    EXPECT_NE(std::string::npos,
              ReadRegistryScript(BackupFolder() + "\\" + made[0]).find("[" + profile.KeyText() + "]"));
    for (const std::string& name : earlier)
        EXPECT_EQ("earlier " + name, ReadFileBytes(BackupFolder() + "\\" + name));
}

INSTANTIATE_TEST_SUITE_P(Table, TakenFileName, testing::Values(1, 2));

TEST(RegistryBackup, MissingKeyIsAFailedBackupAlthoughTheEditorEndsWithZero)
{
    ScratchRegistry scratch;
    NewBackups backups;
    LogTail log;
    std::string key = "HKEY_CURRENT_USER\\" + scratch.RealPath() + "\\" + ProfilesPath + "\\Missing";
    try
    {
        CreateRegistryBackup(key.c_str(), "Missing");
        FAIL() << "no exception";
    }
    catch (const Error::NvExceptionText& e)
    {
        EXPECT_EQ("Program \"" + RegeditPath() + "\" did not successfully finished.", e.GetText().Str());
        EXPECT_EQ("RegistryEditor.cpp", e.GetModule().Str());
    }
    EXPECT_TRUE(backups.Names().empty());
    EXPECT_EQ("", log.Bytes());
}

// A key that the profile held right before the export and the file lacks:
// the export was cut after a whole key, as a full disk may cut it.
TEST(RegistryBackupEditor, ExportLackingAKeyOfTheListingFailsWith111AndLeavesNoFile)
{
    const std::string path = "Software\\Straysweep test " + std::to_string(GetCurrentProcessId()) + " listed";
    TemporaryKey cleanUp(path);
    CreateKey(path + "\\0a0d020000000000c000000000000046");
    CreateKey(path + "\\11111111111111111111111111111111");
    NewBackups backups;
    ScopedEnvironment write("STAND_IN_WRITE", "export");
    std::string editor = StandInProgramPath();
    try
    {
        CreateRegistryBackup(RegistryEditor(editor.c_str(), 10000), ("HKEY_CURRENT_USER\\" + path).c_str(), "P");
        FAIL() << "no exception";
    }
    catch (const Error::NvExceptionText& e)
    {
        EXPECT_EQ("Program \"" + editor +
                      "\" did not successfully finished.\n\nThe export lacks a key that the profile holds: "
                      "[HKEY_CURRENT_USER\\" +
                      path + "\\11111111111111111111111111111111]",
                  e.GetText().Str());
    }
    EXPECT_TRUE(backups.Names().empty());
}

// A user can name a key of their own profile so that the editor's export of
// it holds a line that the editor's import takes for a key of the machine:
// such an export is no backup.
TEST(RegistryBackup, KeyNamedWithACarriageReturnFailsTheBackup)
{
    const std::string path = "Software\\Straysweep test " + std::to_string(GetCurrentProcessId()) + " planted";
    TemporaryKey cleanUp(path);
    const std::wstring planted = L"a\r[HKEY_LOCAL_MACHINE\\Software\\Straysweep planted]";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(path.begin(), path.end()) + L"\\" + planted).c_str(), 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    RegCloseKey(key);
    NewBackups backups;
    try
    {
        CreateRegistryBackup(("HKEY_CURRENT_USER\\" + path).c_str(), "P");
        FAIL() << "no exception";
    }
    catch (const Error::NvExceptionText& e)
    {
        EXPECT_EQ("Program \"" + RegeditPath() +
                      "\" did not successfully finished.\n\nA line holds a line break other than CRLF (line 5): "
                      "[HKEY_CURRENT_USER\\" +
                      path + "\\a",
                  e.GetText().Str());
    }
    EXPECT_TRUE(backups.Names().empty());
}

// The editor runs with the caller's rights (an administrator's editor would
// otherwise ask for elevation and not start) and the caller's environment.
TEST(RegistryBackupEditor, RunsAsTheCallerWithTheFileAndKeyQuotedUnchanged)
{
    TempFolder temp;
    NewBackups backups;
    ScopedEnvironment write("STAND_IN_WRITE", "export");
    ScopedEnvironment record("STAND_IN_RECORD", temp / "record.txt");
    ScopedEnvironment layer("__COMPAT_LAYER", "HighDpiAware");
    const std::string key = std::string("HKEY_CURRENT_USER\\") + ProfilesPath + "\\Poczta służbowa";
    std::string editor = StandInProgramPath();
    NvFsPath made = CreateRegistryBackup(RegistryEditor(editor.c_str(), 10000), key.c_str(), "Poczta służbowa");

    ASSERT_EQ(1u, backups.Names().size());
    std::string file = BackupFolder() + "\\" + backups.Names()[0];
    EXPECT_EQ(file, made.Str());
    EXPECT_EQ(" - Poczta s_u_bowa.reg", backups.Names()[0].substr(19));
    std::string recorded = ReadFileBytes(temp / "record.txt");
    EXPECT_EQ("\"" + editor + "\" /e \"" + file + "\" \"" + key + "\"\n", recorded.substr(0, recorded.find('\n') + 1));
    EXPECT_NE(std::string::npos, recorded.find("\n__COMPAT_LAYER=RunAsInvoker\n"));
    EXPECT_EQ(std::string::npos, recorded.find("HighDpiAware"));
    EXPECT_NE(std::string::npos, recorded.find("\nSTAND_IN_WRITE=export\n"));
}

TEST(RegistryBackupEditor, EmptyProfileNameGivesTheTimeStampAloneAsFileName)
{
    NewBackups backups;
    ScopedEnvironment write("STAND_IN_WRITE", "export");
    CreateRegistryBackup(RegistryEditor(StandInProgramPath().c_str(), 10000), UnlistedKey, "");
    ASSERT_EQ(1u, backups.Names().size());
    EXPECT_TRUE(std::regex_match(backups.Names()[0], std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}\.\d{2}\.\d{2})")))
        << backups.Names()[0];
}

// The path stays within MAX_PATH: the profile part gives way, the time stamp
// and the extension stay.
TEST(RegistryBackupEditor, LongProfileNameIsShortenedToFitThePath)
{
    NewBackups backups;
    ScopedEnvironment write("STAND_IN_WRITE", "export");
    const std::string name(300, 'n');
    NvFsPath made =
        CreateRegistryBackup(RegistryEditor(StandInProgramPath().c_str(), 10000), UnlistedKey, name.c_str());
    ASSERT_EQ(1u, backups.Names().size());
    EXPECT_EQ(static_cast<int>(MAX_PATH - 1), made.GetLength());
    std::string fileName = backups.Names()[0];
    EXPECT_TRUE(std::regex_match(fileName, std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}\.\d{2}\.\d{2} - n+\.reg)")))
        << fileName;
}

// A quotation mark would end the key on the editor's command line, and the
// editor would export another key: the backup fails before the editor runs.
TEST(RegistryBackupEditor, KeyWithAQuotationMarkFailsWith124AndNoEditorRuns)
{
    TempFolder temp;
    NewBackups backups;
    LogTail log;
    ScopedEnvironment write("STAND_IN_WRITE", "export");
    ScopedEnvironment record("STAND_IN_RECORD", temp / "record.txt");
    const std::string key = std::string("HKEY_CURRENT_USER\\") + ProfilesPath + "\\a\" \"b";
    try
    {
        CreateRegistryBackup(RegistryEditor(StandInProgramPath().c_str(), 10000), key.c_str(), "a\" \"b");
        FAIL() << "no exception";
    }
    catch (const Error::NvExceptionText& e)
    {
        EXPECT_EQ("The registry key \"" + key +
                      "\" cannot be backed up: the registry editor cannot be given a key whose name holds a quotation "
                      "mark.",
                  e.GetText().Str());
    }
    EXPECT_FALSE(PathExists(NvFsPath((temp / "record.txt").c_str())));
    EXPECT_TRUE(backups.Names().empty());
    EXPECT_EQ("", log.Bytes());
}

// Run as a program of its own by NameTakenByTwoCopiesAtOnce: one backup with
// the stand-in editor, as a second copy of the program would take it.
TEST(RegistryBackupCopy, DISABLED_TakesOneBackup)
{
    CreateRegistryBackup(RegistryEditor(StandInProgramPath().c_str(), 30000), UnlistedKey, "P");
}

// Two copies of the program backing up in the same second: each gets a file
// of its own, whose name it took before its editor began to write.
TEST(RegistryBackupEditor, NameTakenByTwoCopiesAtOnce)
{
    NewBackups backups;
    ScopedEnvironment write("STAND_IN_WRITE", "export");
    ScopedEnvironment sleep("STAND_IN_SLEEP_MS", "1500");
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string copy = "\"" + std::string(self) +
                       "\" --gtest_also_run_disabled_tests --gtest_filter=RegistryBackupCopy.DISABLED_TakesOneBackup";
    std::vector<UniqueKernelHandle> copies;
    for (int i = 0; i < 2; ++i)
    {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION started = {};
        std::string commandLine = copy;
        ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                   nullptr, &startup, &started));
        CloseHandle(started.hThread);
        copies.emplace_back(started.hProcess);
    }
    for (const UniqueKernelHandle& process : copies)
    {
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.Get(), 30000));
        DWORD code = 1;
        GetExitCodeProcess(process.Get(), &code);
        EXPECT_EQ(0u, code);
    }
    std::vector<std::string> names = backups.Names();
    ASSERT_EQ(2u, names.size());
    for (const std::string& name : names)
        EXPECT_NE(std::string::npos,
                  ReadRegistryScript(BackupFolder() + "\\" + name).find("[" + std::string(UnlistedKey) + "]"))
            << name;
}

TEST(RegistryBackupEditor, MissingEditorFailsWith109NamingThePathTried)
{
    TempFolder temp;
    NewBackups backups;
    LogTail log;
    std::string editor = temp / "REGEDIT.EXE";
    try
    {
        CreateRegistryBackup(RegistryEditor(editor.c_str(), 10000), "HKEY_CURRENT_USER\\Software", "P");
        FAIL() << "no exception";
    }
    catch (const Error::NvExceptionCommon& e)
    {
        std::string message = "Failed to run program \"" + editor + "\".";
        EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), e.GetError());
        EXPECT_EQ(message, e.GetMessage().Str());
        std::string text = e.GetText().Str();
        std::string tail = " (0x2) \n\n" + message;
        ASSERT_GT(text.size(), tail.size());
        EXPECT_EQ(tail, text.substr(text.size() - tail.size()));
        EXPECT_EQ("RegistryEditor.cpp", e.GetModule().Str());
        EXPECT_GT(e.GetLine(), 0);
    }
    EXPECT_TRUE(backups.Names().empty());
    EXPECT_EQ("", log.Bytes());
}

TEST(RegistryBackupEditor, EditorStillRunningAtTheTimeOutIsEndedAndFailsWith110)
{
    TempFolder temp;
    std::string editor = temp / "slow-editor.exe";
    ASSERT_TRUE(CopyFileA(StandInProgramPath().c_str(), editor.c_str(), TRUE));
    NewBackups backups;
    LogTail log;
    {
        ScopedEnvironment sleep("STAND_IN_SLEEP_MS", "30000");
        ScopedEnvironment write("STAND_IN_WRITE", "commandline");
        try
        {
            CreateRegistryBackup(RegistryEditor(editor.c_str(), 300), "HKEY_CURRENT_USER\\Software", "P");
            FAIL() << "no exception";
        }
        catch (const Error::NvExceptionText& e)
        {
            EXPECT_EQ("Program \"" + editor + "\" terminated abnormally.", e.GetText().Str());
            EXPECT_EQ("RegistryEditor.cpp", e.GetModule().Str());
        }
    }
    for (int i = 0; i < 100 && IsRunning("slow-editor.exe"); ++i)
        Sleep(50);
    EXPECT_FALSE(IsRunning("slow-editor.exe"));
    EXPECT_TRUE(backups.Names().empty());
    EXPECT_EQ("", log.Bytes());
}

struct FailedExportCase
{
    const char* name;
    const char* exitCode;
    const char* write; // STAND_IN_WRITE, null for nothing written
    // What follows string 111 after a blank line; empty for nothing.
    const char* problem;
};

class FailedExport : public testing::TestWithParam<FailedExportCase>
{
};

// Whatever the failed export left is deleted: it would look like a backup.
TEST_P(FailedExport, FailsWith111AndLeavesNoFile)
{
    NewBackups backups;
    LogTail log;
    ScopedEnvironment exitCode("STAND_IN_EXIT_CODE", GetParam().exitCode);
    std::unique_ptr<ScopedEnvironment> write;
    if (GetParam().write != nullptr)
        write = std::make_unique<ScopedEnvironment>("STAND_IN_WRITE", GetParam().write);
    std::string editor = StandInProgramPath();
    try
    {
        CreateRegistryBackup(RegistryEditor(editor.c_str(), 10000), "HKEY_CURRENT_USER\\Software", "P");
        FAIL() << "no exception";
    }
    catch (const Error::NvExceptionText& e)
    {
        std::string failed = "Program \"" + editor + "\" did not successfully finished.";
        std::string problem = GetParam().problem;
        EXPECT_EQ(problem.empty() ? failed : failed + "\n\n" + problem, e.GetText().Str());
        EXPECT_EQ("RegistryEditor.cpp", e.GetModule().Str());
    }
    EXPECT_TRUE(backups.Names().empty());
    EXPECT_EQ("", log.Bytes());
}

INSTANTIATE_TEST_SUITE_P(
    Table, FailedExport,
    testing::Values(FailedExportCase{"ExitCode1", "1", "export", ""}, FailedExportCase{"ExitCode3", "3", "export", ""},
                    FailedExportCase{"ExitCode100", "100", "export", ""},
                    FailedExportCase{"ExitCodeFFFFFFFF", "4294967295", "export", ""},
                    FailedExportCase{"ExitCode0WithoutFile", "0", nullptr, ""},
                    FailedExportCase{"ExitCode0WithEmptyFile", "0", "empty", ""},
                    FailedExportCase{"NotAnExport", "0", "commandline",
                                     "The file is not a registry export: it does not begin with a UTF-16 byte-order "
                                     "mark."},
                    FailedExportCase{"CutInAValue", "0", "cut",
                                     "The file ends in the middle of a value (line 6): hex:50,65,72,73,"},
                    FailedExportCase{"KeyBesideTheExportedOne", "0", "outside",
                                     "The file holds another key than the one that was exported (line 9): "
                                     "[HKEY_CURRENT_USER\\Software 2]"}),
    [](const testing::TestParamInfo<FailedExportCase>& info) { return info.param.name; });
} // namespace
