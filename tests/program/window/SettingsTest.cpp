#include "program/window/Settings.h"
#include "library/base/TextConversion.h"
#include "library/base/UniqueHandle.h"
#include "tests/support/KeptFile.h"
#include "tests/support/TempFolder.h"
#include "program/core/ProductFolder.h"

#include <string>

#include <gtest/gtest.h>

namespace
{
// Both Settings.ini files start missing; the real ones come back afterwards.
class SettingsFile : public testing::Test
{
protected:
    std::string dataFile = GetSettingsFilePath().Str();
    std::string exeFile = GetExeFolderSettingsFilePath().Str();
    KeptFile keptData{dataFile};
    KeptFile keptExe{exeFile};
};

std::string Ini(const std::string& lines)
{
    return "[General]\r\n" + lines + "\r\n";
}

TEST_F(SettingsFile, PathsAreTheDataFolderAndTheExecutablesFolder)
{
    EXPECT_EQ(GetAppDataFolder().Str() + "\\Settings.ini", dataFile);
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder(module);
    EXPECT_EQ(folder.substr(0, folder.rfind('\\') + 1) + "Settings.ini", exeFile);
}

TEST_F(SettingsFile, DataFolderFileIsReadFirst)
{
    WriteFileBytes(dataFile, Ini("PstName=Archive 2007"));
    WriteFileBytes(exeFile, Ini("PstName=Beside"));
    EXPECT_EQ(L"Archive 2007", LoadSettings());
}

TEST_F(SettingsFile, FileBesideTheExecutableIsReadWhenTheDataFolderHasNone)
{
    WriteFileBytes(exeFile, Ini("PstName=Beside"));
    EXPECT_EQ(L"Beside", LoadSettings());
}

TEST_F(SettingsFile, DataFolderFileHidesTheOtherEvenWithoutTheKey)
{
    WriteFileBytes(dataFile, Ini("Other=1"));
    WriteFileBytes(exeFile, Ini("PstName=Beside"));
    EXPECT_TRUE(LoadSettings().empty());
}

TEST_F(SettingsFile, NeitherFileGivesAnEmptyName)
{
    EXPECT_TRUE(LoadSettings().empty());
}

struct ValueCase
{
    std::string stored;
    std::string read;
};

class SettingsValue : public SettingsFile, public testing::WithParamInterface<ValueCase>
{
};

// A file in the ANSI code page, as the program always wrote it.
TEST_P(SettingsValue, IsReadAsTheProfileFunctionsGiveItUpTo254Characters)
{
    WriteFileBytes(dataFile, Ini("PstName=" + GetParam().stored));
    EXPECT_EQ(AnsiToWide(GetParam().read), ReadSettingsFile(dataFile.c_str()));
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsValue,
                         testing::Values(ValueCase{"Personal Folders", "Personal Folders"},
                                         ValueCase{"  blanks around  ", "blanks around"},
                                         ValueCase{"\"quoted name\"", "quoted name"},
                                         ValueCase{std::string(254, 'a'), std::string(254, 'a')},
                                         ValueCase{std::string(255, 'b'), std::string(254, 'b')},
                                         ValueCase{std::string(300, 'c'), std::string(254, 'c')},
                                         ValueCase{"Zażółć", "Zażółć"}, ValueCase{"", ""}));

TEST_F(SettingsFile, MissingFileReadsEmpty)
{
    EXPECT_TRUE(ReadSettingsFile(dataFile.c_str()).empty());
}

TEST_F(SettingsFile, SavingWritesTheDataFolderFileOnly)
{
    WriteFileBytes(exeFile, Ini("PstName=Beside"));
    ASSERT_EQ(L"Beside", LoadSettings());
    SavePstNameSetting(L"New name");
    EXPECT_EQ(Ini("PstName=Beside"), ReadFileBytes(exeFile));
    EXPECT_EQ(Ini("PstName=New name"), ReadFileBytes(dataFile));
    EXPECT_EQ(L"New name", LoadSettings());
}

TEST_F(SettingsFile, EmptyNameIsWrittenAndReadBackEmpty)
{
    WriteFileBytes(exeFile, Ini("PstName=Beside"));
    SavePstNameSetting(L"Old");
    SavePstNameSetting(L"");
    std::string contents = ReadFileBytes(dataFile);
    EXPECT_NE(std::string::npos, contents.find("PstName=\r\n")) << contents;
    EXPECT_TRUE(LoadSettings().empty());
}

// Cyrillic "Архив" and a letter beyond the Basic Multilingual Plane, which
// no ANSI code page but UTF-8 holds.
const std::wstring UnicodeName = L"\u0410\u0440\u0445\u0438\u0432 \U0001F4E7";

// The bytes of a file in UTF-16LE with a byte-order mark.
std::string UnicodeFile(const std::wstring& text)
{
    std::wstring marked = L'\xFEFF' + text;
    return std::string(reinterpret_cast<const char*>(marked.data()), marked.size() * sizeof(wchar_t));
}

// In a file of the ANSI code page the profile functions would write "?" for
// such letters: the file turns Unicode first, its lines converted from the
// code page, and stays so for the names after it.
TEST_F(SettingsFile, NameOutsideTheCodePageTurnsTheFileUnicodeAndReadsBackExactly)
{
    CString ansi;
    ASSERT_FALSE(WideToAnsiExactly(UnicodeName, ansi));
    WriteFileBytes(dataFile, Ini("PstName=Old\r\nOther=Zażółć"));
    const std::wstring other = AnsiToWide("Zażółć");

    SavePstNameSetting(UnicodeName);
    EXPECT_EQ(UnicodeFile(L"[General]\r\nPstName=" + UnicodeName + L"\r\nOther=" + other + L"\r\n"),
              ReadFileBytes(dataFile));
    EXPECT_EQ(UnicodeName, LoadSettings());

    SavePstNameSetting(L"Archive 2019");
    EXPECT_EQ(UnicodeFile(L"[General]\r\nPstName=Archive 2019\r\nOther=" + other + L"\r\n"), ReadFileBytes(dataFile));
}

TEST_F(SettingsFile, MissingFileIsCreatedUnicodeForANameOutsideTheCodePage)
{
    SavePstNameSetting(UnicodeName);
    EXPECT_EQ(UnicodeFile(L"[General]\r\nPstName=" + UnicodeName + L"\r\n"), ReadFileBytes(dataFile));
    EXPECT_EQ(UnicodeName, LoadSettings());
}

// The file is replaced whole or not at all: one that cannot be replaced (it
// is open without delete sharing) keeps its old name, and no temporary file
// is left beside it.
TEST_F(SettingsFile, FileThatCannotTurnUnicodeIsLeftAsItWas)
{
    const std::string contents = Ini("PstName=Old");
    WriteFileBytes(dataFile, contents);
    std::string folder = dataFile.substr(0, dataFile.rfind('\\') + 1);
    {
        UniqueFile held(CreateFileA(dataFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held.IsValid());
        SavePstNameSetting(UnicodeName);
    }
    EXPECT_EQ(contents, ReadFileBytes(dataFile));
    WIN32_FIND_DATAA found = {};
    UniqueFindHandle temporary(FindFirstFileA((folder + "*.tmp").c_str(), &found));
    EXPECT_FALSE(temporary.IsValid()) << found.cFileName;
}

TEST_F(SettingsFile, NameIsLoadedOnceAndKeptForTheProcess)
{
    WriteFileBytes(dataFile, Ini("PstName=First"));
    std::wstring& name = GetPstNameSetting();
    EXPECT_EQ(L"First", name);
    WriteFileBytes(dataFile, Ini("PstName=Second"));
    EXPECT_EQ(L"First", GetPstNameSetting());
    name = L"Changed";
    EXPECT_EQ(&name, &GetPstNameSetting());
    EXPECT_EQ(L"Changed", GetPstNameSetting());
}

// Moves the data folder aside and puts a file of its name in its place, so
// that it can be neither found nor made.
class DataFolderBlocked
{
public:
    DataFolderBlocked() : m_folder(GetAppDataFolder().Str()), m_aside(m_folder + ".aside")
    {
        m_moved = !m_folder.empty() && MoveFileA(m_folder.c_str(), m_aside.c_str());
        if (m_moved)
            WriteFileBytes(m_folder, "not a folder");
    }
    ~DataFolderBlocked()
    {
        if (!m_moved)
            return;
        DeleteFileA(m_folder.c_str());
        MoveFileA(m_aside.c_str(), m_folder.c_str());
    }
    DataFolderBlocked(const DataFolderBlocked&) = delete;
    DataFolderBlocked& operator=(const DataFolderBlocked&) = delete;

    bool Blocked() const { return m_moved; }

private:
    std::string m_folder;
    std::string m_aside;
    bool m_moved = false;
};

TEST_F(SettingsFile, WithoutDataFolderTheBareNameIsNeitherReadNorWritten)
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    std::string windowsFile = std::string(windows) + "\\Settings.ini";
    ASSERT_FALSE(FileExists(windowsFile));
    TempFolder current;
    char previousFolder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previousFolder);
    SetCurrentDirectoryA(current.Path().c_str());
    WriteFileBytes(current / "Settings.ini", Ini("PstName=Current folder"));
    WriteFileBytes(exeFile, Ini("PstName=Beside"));
    {
        DataFolderBlocked blocked;
        ASSERT_TRUE(blocked.Blocked());
        EXPECT_STREQ("Settings.ini", GetSettingsFilePath().GetString());
        EXPECT_EQ(L"Beside", LoadSettings());
        SavePstNameSetting(L"Lost");
    }
    SetCurrentDirectoryA(previousFolder);
    EXPECT_FALSE(FileExists(windowsFile));
    EXPECT_EQ(Ini("PstName=Current folder"), ReadFileBytes(current / "Settings.ini"));
    EXPECT_TRUE(FileExists(GetAppDataFolder().Str()));
}
} // namespace
