#include "program/window/Settings.h"
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
    EXPECT_STREQ("Archive 2007", LoadSettings().GetString());
}

TEST_F(SettingsFile, FileBesideTheExecutableIsReadWhenTheDataFolderHasNone)
{
    WriteFileBytes(exeFile, Ini("PstName=Beside"));
    EXPECT_STREQ("Beside", LoadSettings().GetString());
}

TEST_F(SettingsFile, DataFolderFileHidesTheOtherEvenWithoutTheKey)
{
    WriteFileBytes(dataFile, Ini("Other=1"));
    WriteFileBytes(exeFile, Ini("PstName=Beside"));
    EXPECT_TRUE(LoadSettings().IsEmpty());
}

TEST_F(SettingsFile, NeitherFileGivesAnEmptyName)
{
    EXPECT_TRUE(LoadSettings().IsEmpty());
}

struct ValueCase
{
    std::string stored;
    std::string read;
};

class SettingsValue : public SettingsFile, public testing::WithParamInterface<ValueCase>
{
};

TEST_P(SettingsValue, IsReadAsTheProfileFunctionsGiveItUpTo254Characters)
{
    WriteFileBytes(dataFile, Ini("PstName=" + GetParam().stored));
    EXPECT_EQ(GetParam().read, ReadSettingsFile(dataFile.c_str()).Str());
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
    EXPECT_TRUE(ReadSettingsFile(dataFile.c_str()).IsEmpty());
}

TEST_F(SettingsFile, SavingWritesTheDataFolderFileOnly)
{
    WriteFileBytes(exeFile, Ini("PstName=Beside"));
    ASSERT_STREQ("Beside", LoadSettings().GetString());
    SavePstNameSetting("New name");
    EXPECT_EQ(Ini("PstName=Beside"), ReadFileBytes(exeFile));
    EXPECT_STREQ("New name", ReadSettingsFile(dataFile.c_str()).GetString());
    EXPECT_STREQ("New name", LoadSettings().GetString());
}

TEST_F(SettingsFile, EmptyNameIsWrittenAndReadBackEmpty)
{
    WriteFileBytes(exeFile, Ini("PstName=Beside"));
    SavePstNameSetting("Old");
    SavePstNameSetting("");
    std::string contents = ReadFileBytes(dataFile);
    EXPECT_NE(std::string::npos, contents.find("PstName=\r\n")) << contents;
    EXPECT_TRUE(LoadSettings().IsEmpty());
}

TEST_F(SettingsFile, NameIsLoadedOnceAndKeptForTheProcess)
{
    WriteFileBytes(dataFile, Ini("PstName=First"));
    CString& name = GetPstNameSetting();
    EXPECT_STREQ("First", name.GetString());
    WriteFileBytes(dataFile, Ini("PstName=Second"));
    EXPECT_STREQ("First", GetPstNameSetting().GetString());
    name = "Changed";
    EXPECT_EQ(&name, &GetPstNameSetting());
    EXPECT_STREQ("Changed", GetPstNameSetting().GetString());
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
        EXPECT_STREQ("Beside", LoadSettings().GetString());
        SavePstNameSetting("Lost");
    }
    SetCurrentDirectoryA(previousFolder);
    EXPECT_FALSE(FileExists(windowsFile));
    EXPECT_EQ(Ini("PstName=Current folder"), ReadFileBytes(current / "Settings.ini"));
    EXPECT_TRUE(FileExists(GetAppDataFolder().Str()));
}
} // namespace
