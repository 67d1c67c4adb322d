#include "library/error/ErrorMessages.h"
#include "library/error/NvExceptionCommon.h"
#include "library/error/NvExceptionText.h"
#include "tests/support/MessageBoxCatcher.h"
#include "resources/resource.h"
#include "tests/support/TestResourceIds.h"

#include <gtest/gtest.h>

namespace
{
using Error::NvException;
using Error::NvExceptionCommon;
using Error::NvExceptionText;

const char* const SourcePath = "C:\\src\\program\\RegistryBackup.cpp";

TEST(ExceptionText, CommonTextIsSystemSentenceCodeAndMessage)
{
    NvExceptionCommon e(ERROR_ACCESS_DENIED, "Failed to create backup folder.", SourcePath, 37);
    EXPECT_STREQ("RegistryBackup.cpp", e.GetModule().GetString());
    EXPECT_EQ(37, e.GetLine());
    EXPECT_STREQ("Access denied. (0x5) \n\nFailed to create backup folder.", e.GetText().GetString());
}

// The log's text holds what its code page can; the user's text and box hold
// the name as it is stored.
TEST(ExceptionText, WideMessageIsTheUsersAndTheNarrowOneTheLogs)
{
    const std::wstring name = L"Key \u0410\u0440\u0445\u0438\u0432 \U0001F4E7";
    NvExceptionCommon common(ERROR_FILE_NOT_FOUND, "Key [U+0410]", name, SourcePath, 1);
    NvExceptionText text("Key [U+0410]", name, SourcePath, 1);
    EXPECT_STREQ("File not found. (0x2) \n\nKey [U+0410]", common.GetText().GetString());
    EXPECT_EQ(L"File not found. (0x2) \n\n" + name, common.GetWideText());
    EXPECT_STREQ("Key [U+0410]", text.GetText().GetString());
    EXPECT_EQ(name, text.GetWideText());
    EXPECT_EQ(L"Access denied. (0x5) \n\nAn \u00e9", NvExceptionCommon(5, "An \xe9", SourcePath, 1).GetWideText());

    MessageBoxCatcher boxes;
    common.ShowMessage(MB_ICONERROR);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(L"File not found. (0x2) \n\n" + name, boxes.Boxes()[0].wideText);
}

TEST(ExceptionText, EmptyMessageEndsAtTheParenthesis)
{
    NvExceptionCommon e(ERROR_FILE_NOT_FOUND, "", SourcePath, 1);
    EXPECT_STREQ("File not found. (0x2)", e.GetText().GetString());
}

TEST(ExceptionText, CodeZeroPrintsWithoutPrefix)
{
    NvExceptionCommon e(0, nullptr, nullptr, 0);
    std::string text = e.GetText().Str();
    ASSERT_GE(text.size(), 4u);
    EXPECT_EQ(" (0)", text.substr(text.size() - 4));
}

TEST(ExceptionText, CodeWithoutSystemTextStartsWithTheBlank)
{
    EXPECT_TRUE(Error::GetSystemErrorText(0x2abcdef1).IsEmpty());
    NvExceptionCommon e(0x2abcdef1, "message", nullptr, 0);
    EXPECT_STREQ(" (0x2abcdef1) \n\nmessage", e.GetText().GetString());
}

TEST(ExceptionText, MessageGivenAsResourceIdIsLoaded)
{
    NvExceptionCommon common(5, MAKEINTRESOURCEA(IDS_TEST_PLAIN), nullptr, 0);
    EXPECT_STREQ("Text from the string table.", common.GetMessage().GetString());
    NvExceptionText text(MAKEINTRESOURCEA(IDS_TEST_PLAIN), nullptr, 0);
    EXPECT_STREQ("Text from the string table.", text.GetText().GetString());
}

struct ModuleCase
{
    const char* file;
    const char* module;
};

class ExceptionModule : public testing::TestWithParam<ModuleCase>
{
};

TEST_P(ExceptionModule, IsTheBareFileName)
{
    NvExceptionText e("x", GetParam().file, 5);
    EXPECT_STREQ(GetParam().module, e.GetModule().GetString());
}

INSTANTIATE_TEST_SUITE_P(Table, ExceptionModule,
                         testing::Values(ModuleCase{nullptr, ""}, ModuleCase{"", ""},
                                         ModuleCase{"src/program/GhostPstRemover.cpp", "GhostPstRemover.cpp"},
                                         ModuleCase{"C:\\src\\program/GhostPstRemover.cpp",
                                                    "program/GhostPstRemover.cpp"}));

TEST(ExceptionCopy, CopiesCarryEverything)
{
    NvExceptionCommon original(5, "m", SourcePath, 9);
    NvExceptionCommon copy(original);
    EXPECT_EQ(original.GetText(), copy.GetText());
    EXPECT_EQ(original.GetModule(), copy.GetModule());
    EXPECT_EQ(9, copy.GetLine());
}

TEST(ResourceFormatting, FormatsTheStringOfTheCurrentModule)
{
    EXPECT_STREQ("Value x and number 3.", Error::FormatResourceString(IDS_TEST_FORMAT, "x", 3).GetString());
    EXPECT_TRUE(Error::FormatResourceString(IDS_TEST_FORMAT + 500, "x", 3).IsEmpty());
}

TEST(ResourceFormatting, ProgramStringsKeepTheirQuotes)
{
    EXPECT_STREQ("Failed to open registry key \"HKEY_CURRENT_USER\\Software\\X\". Ensure you have read access to "
                 "this key.",
                 Error::FormatResourceString(IDS_OPEN_KEY_FAILED, "\\Software\\X").GetString());
}

TEST(ErrorBox, ShowsTheTrimmedTextCaptionedErrorWithoutOwner)
{
    MessageBoxCatcher boxes;
    NvExceptionCommon e(5, "  The message.  ", SourcePath, 1);
    e.ShowMessage(MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
    ASSERT_EQ(1u, boxes.Boxes().size());
    const CapturedBox& box = boxes.Boxes()[0];
    EXPECT_EQ("Access denied. (0x5) \n\n  The message.", box.text); // only the ends are trimmed
    EXPECT_EQ("Error", box.caption);
    EXPECT_EQ(nullptr, box.owner);
    EXPECT_EQ(BoxIcon::Error, box.icon);
}

TEST(ErrorBox, BlankTextShowsUnknownErrorWithFileAndLine)
{
    MessageBoxCatcher boxes;
    NvExceptionText("   ", "C:\\src\\Where.cpp", 12).ShowMessage(MB_ICONERROR);
    NvExceptionText("", nullptr, 0).ShowMessage(MB_ICONERROR);
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ("Unknown error occured\nFile: Where.cpp, Line: 12", boxes.Boxes()[0].text);
    EXPECT_EQ("Unknown error occured\nFile: , Line: 0", boxes.Boxes()[1].text);
}

TEST(ErrorBox, ReturnsTheButtonPressed)
{
    MessageBoxCatcher boxes({IDNO});
    EXPECT_EQ(IDNO, NvExceptionText("question", nullptr, 0).ShowMessage(MB_YESNO));
}
} // namespace
