#include "library/fs/FsFolders.h"
#include "tests/support/TempFolder.h"

#include <shlobj.h>

#include <gtest/gtest.h>

namespace
{
std::string ShellAppData()
{
    char buffer[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, buffer);
    return buffer;
}

TEST(AppDataSubfolder, LiesInTheRoamingApplicationDataFolderAndExists)
{
    EXPECT_EQ(ShellAppData(), GetAppDataPath().Str());
    NvFsPath folder = GetAppDataSubfolder("Subfolder Test");
    EXPECT_EQ(ShellAppData() + "\\Subfolder Test", folder.Str());
    EXPECT_TRUE(DirectoryExists(folder));
    RemoveDirectoryA(folder);
}

struct ParentCase
{
    const char* path;
    const char* parent;
};

class ParentFolder : public testing::TestWithParam<ParentCase>
{
};

TEST_P(ParentFolder, KeepsTheSeparator)
{
    EXPECT_STREQ(GetParam().parent, GetParentFolder(NvFsPath(GetParam().path)).GetString());
}

INSTANTIATE_TEST_SUITE_P(Table, ParentFolder,
                         testing::Values(ParentCase{"", ""}, ParentCase{"name.exe", "name.exe"},
                                         ParentCase{"C:\\bin\\app.exe", "C:\\bin\\"},
                                         ParentCase{"C:\\bin/app.exe", "C:\\"}, ParentCase{"C:/bin/app.exe", "C:/bin/"},
                                         ParentCase{"\\app.exe", "\\app.exe"}));

TEST(ModulePath, NamesTheRunningExecutable)
{
    NvFsPath path = GetModuleFilePath();
    EXPECT_STREQ("test_fs.exe", path.GetFileName().GetString());
    EXPECT_TRUE(PathExists(path));
}

TEST(PathExistence, CountsFilesAndFoldersWithOrWithoutTrailingBackslash)
{
    TempFolder temp;
    ASSERT_TRUE(WriteFileBytes(temp / "Main_ResPL.dll", "not a module"));
    EXPECT_TRUE(PathExists(NvFsPath((temp / "Main_ResPL.dll").c_str())));
    EXPECT_TRUE(PathExists(NvFsPath(temp.Path().c_str())));
    EXPECT_TRUE(PathExists(NvFsPath((temp.Path() + "\\").c_str())));
    EXPECT_FALSE(PathExists(NvFsPath((temp / "missing.dll").c_str())));
}
} // namespace
