#include "library/fs/CFileVersionInfo.h"
#include "library/fs/FsFolders.h"

#include <gtest/gtest.h>

namespace
{
NvFsPath Sample()
{
    return Combine(GetParentFolder(GetModuleFilePath()), "versioned_sample.dll");
}

TEST(FileVersion, TextIsTheFixedFileVersionNotTheProductString)
{
    CFileVersionInfo info;
    ASSERT_TRUE(info.Create(Sample()));
    EXPECT_STREQ("2.1.0.7", FormatFileVersion(info).GetString());
    const WORD* product = info.GetProductVersion();
    EXPECT_EQ(1, product[0]);
    EXPECT_EQ(2, product[1]);
    EXPECT_EQ(3, product[2]);
    EXPECT_EQ(4, product[3]);
}

TEST(FileVersion, ExecutablesCarryTheProjectVersion)
{
    CFileVersionInfo info;
    ASSERT_TRUE(info.Create(GetModuleFilePath()));
    EXPECT_STREQ("1.0.0.0", FormatFileVersion(info).GetString());
}

TEST(FileVersion, AFileWithoutVersionGivesFourZeros)
{
    CFileVersionInfo info;
    ASSERT_TRUE(info.Create(Sample()));
    EXPECT_FALSE(info.Create("C:\\no\\such\\file.exe"));
    EXPECT_STREQ("0.0.0.0", FormatFileVersion(info).GetString()); // the second call cleared the first
    EXPECT_EQ(0, info.GetProductVersion()[0]);
}
} // namespace
