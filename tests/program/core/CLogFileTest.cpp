#include "program/core/CLogFile.h"
#include "tests/support/TempFolder.h"

#include <shlobj.h>

#include <regex>

#include <gtest/gtest.h>

namespace
{
const char* const Dashes = "---------------------------------------------------------------------";

TEST(ProgramLog, LiesInTheProductFolderOfTheRoamingApplicationDataFolder)
{
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_DEFAULT, appData);
    EXPECT_EQ(std::string(appData) + "\\Norvale PST Straysweep\\Log.txt", CLogFile::Instance().GetFilePath().Str());
}

TEST(ProgramLog, HeaderNamesProductAndExecutableVersion)
{
    std::string expected = std::string(Dashes) + "\nNorvale PST Straysweep 1.0.0.0 log file\n" + Dashes + "\n\n";
    EXPECT_EQ(expected, CLogFile::Instance().GetHeader().Str());
}

TEST(ProgramLog, TimeStampIsLocalTimeWithTrailingBlank)
{
    std::string stamp = CLogFile::Instance().GetTimeStamp().Str();
    EXPECT_TRUE(std::regex_match(stamp, std::regex(R"(\d{4}\.\d{2}\.\d{2} \d{2}:\d{2}:\d{2} )"))) << stamp;
    SYSTEMTIME now;
    GetLocalTime(&now);
    char year[8];
    wsprintfA(year, "%04u.", now.wYear);
    EXPECT_EQ(year, stamp.substr(0, 5));
}

// The stamp is formatted once a second: it must still follow the clock.
TEST(ProgramLog, TimeStampFollowsTheClockFromSecondToSecond)
{
    auto format = [](const SYSTEMTIME& time) {
        char text[32];
        wsprintfA(text, "%04u.%02u.%02u %02u:%02u:%02u ", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
                  time.wSecond);
        return std::string(text);
    };
    for (int i = 0; i < 3; ++i)
    {
        SYSTEMTIME before;
        GetLocalTime(&before);
        std::string stamp = CLogFile::Instance().GetTimeStamp().Str();
        SYSTEMTIME after;
        GetLocalTime(&after);
        EXPECT_TRUE(stamp == format(before) || stamp == format(after)) << stamp << " at " << format(after);
        Sleep(600);
    }
}

TEST(ProgramLog, OpensANewFileWithHeaderAndStampedLines)
{
    std::string path = CLogFile::Instance().GetFilePath().Str();
    DeleteFileA(path.c_str());
    CLogFile& log = CLogFile::Instance();
    ASSERT_TRUE(log.OpenWithSizeLimit());
    log.Info("Program started.");
    log.Close();

    std::string contents = ReadFileBytes(path);
    std::string header =
        std::string(Dashes) + "\r\nNorvale PST Straysweep 1.0.0.0 log file\r\n" + Dashes + "\r\n\r\n\r\n";
    ASSERT_EQ(header, contents.substr(0, header.size()));
    std::string line = contents.substr(header.size());
    EXPECT_TRUE(
        std::regex_match(line, std::regex(R"(\d{4}\.\d{2}\.\d{2} \d{2}:\d{2}:\d{2} Info: Program started\.\r\n)")))
        << line;
}
} // namespace
