#include "library/fs/NvFsPathT.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
struct JoinCase
{
    const char* base;
    const char* name;
    const char* joined;
};

class PathJoin : public testing::TestWithParam<JoinCase>
{
};

TEST_P(PathJoin, PutsOneBackslashBetweenTheParts)
{
    NvFsPath base(GetParam().base);
    EXPECT_STREQ(GetParam().joined, Combine(base, GetParam().name).GetString());
    EXPECT_STREQ(GetParam().base, base.GetString()); // Combine leaves the base alone
}

INSTANTIATE_TEST_SUITE_P(Table, PathJoin,
                         testing::Values(JoinCase{"", "Log.txt", "Log.txt"},
                                         JoinCase{"C:\\data", "Log.txt", "C:\\data\\Log.txt"},
                                         JoinCase{"C:\\data\\", "Log.txt", "C:\\data\\Log.txt"},
                                         JoinCase{"C:/data/", "Log.txt", "C:/data/Log.txt"},
                                         JoinCase{"C:\\data", nullptr, "C:\\data\\"}));

TEST(PathJoin, AppendChangesThePathItself)
{
    NvFsPath path("C:\\a");
    path.Append("b").Append("c.txt");
    EXPECT_STREQ("C:\\a\\b\\c.txt", path.GetString());
}

struct FileNameCase
{
    const char* path;
    const char* fileName;
};

class PathFileName : public testing::TestWithParam<FileNameCase>
{
};

TEST_P(PathFileName, IsTheLastComponent)
{
    EXPECT_STREQ(GetParam().fileName, NvFsPath(GetParam().path).GetFileName().GetString());
}

INSTANTIATE_TEST_SUITE_P(Table, PathFileName,
                         testing::Values(FileNameCase{"", ""}, FileNameCase{"name.exe", "name.exe"},
                                         FileNameCase{"a/b/c", "c"}, FileNameCase{"a\\b/c", "b/c"},
                                         FileNameCase{"C:\\folder\\", ""},
                                         FileNameCase{"C:\\Program Files\\OUTLOOK.EXE", "OUTLOOK.EXE"}));

TEST(PathConstruction, NullGivesAnEmptyPath)
{
    EXPECT_TRUE(NvFsPath(static_cast<LPCSTR>(nullptr)).IsEmpty());
}

class PathFolders : public testing::Test
{
protected:
    bool IsFolder(const std::string& path)
    {
        DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    TempFolder temp;
};

TEST_F(PathFolders, DirectoryExistsOnlyForFolders)
{
    ASSERT_TRUE(WriteFileBytes(temp / "file.txt", "x"));
    EXPECT_TRUE(DirectoryExists(NvFsPath(temp.Path().c_str())));
    EXPECT_FALSE(DirectoryExists(NvFsPath((temp / "file.txt").c_str())));
    EXPECT_FALSE(DirectoryExists(NvFsPath((temp / "missing").c_str())));
}

TEST_F(PathFolders, CreateDirectoriesMakesEveryMissingLevel)
{
    ASSERT_TRUE(CreateDirectoryA((temp / "one").c_str(), nullptr));
    NvFsPath path((temp / "one\\two\\three").c_str());
    EXPECT_TRUE(path.CreateDirectories());
    EXPECT_TRUE(IsFolder(temp / "one\\two"));
    EXPECT_TRUE(IsFolder(temp / "one\\two\\three"));
}

TEST_F(PathFolders, CreateDirectoriesAcceptsSlashesDoubledAndTrailingSeparators)
{
    std::string messy = temp.Path();
    for (char& ch : messy)
        ch = ch == '\\' ? '/' : ch;
    NvFsPath path((messy + "//a/b///c/").c_str());
    EXPECT_TRUE(path.CreateDirectories());
    EXPECT_TRUE(IsFolder(temp / "a\\b\\c"));
}

TEST_F(PathFolders, CreateDirectoriesOnOneComponentOnlyReportsExistence)
{
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(temp.Path().c_str()));
    bool missing = NvFsPath("single").CreateDirectories();
    bool createdLater = CreateDirectoryA("single", nullptr) != FALSE;
    bool existing = NvFsPath("single").CreateDirectories();
    SetCurrentDirectoryA(previous);

    EXPECT_FALSE(missing);
    EXPECT_TRUE(createdLater);
    EXPECT_TRUE(existing);
}

TEST_F(PathFolders, LeadingSingleBackslashMakesThePathRelative)
{
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(temp.Path().c_str()));
    ASSERT_TRUE(CreateDirectoryA("rel", nullptr));
    bool created = NvFsPath("\\rel\\inner").CreateDirectories();
    SetCurrentDirectoryA(previous);

    EXPECT_TRUE(created);
    EXPECT_TRUE(IsFolder(temp / "rel\\inner"));
    EXPECT_FALSE(IsFolder("C:\\rel\\inner"));
}

TEST_F(PathFolders, NetworkPathStartsFromTheServer)
{
    // The first component after "\\" is the server: never tested or created;
    // an unreachable share makes the creation fail rather than go local.
    NvFsPath path("\\\\no-such-server-here\\share\\folder");
    EXPECT_FALSE(path.CreateDirectories());
}

TEST_F(PathFolders, CreateDirectoriesFailsOnAFileInTheWay)
{
    ASSERT_TRUE(WriteFileBytes(temp / "blocker", "x"));
    NvFsPath path((temp / "blocker\\below").c_str());
    EXPECT_FALSE(path.CreateDirectories());
    EXPECT_EQ(static_cast<DWORD>(ERROR_ALREADY_EXISTS), GetLastError());
}
} // namespace
