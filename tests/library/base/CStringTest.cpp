#include "library/base/AfxResource.h"
#include "library/base/CString.h"
#include "tests/support/TestResourceIds.h"

#include <gtest/gtest.h>

namespace
{
LPCSTR Id(UINT id)
{
    return MAKEINTRESOURCEA(id);
}

struct TrimCase
{
    const char* input;
    const char* trimmed;
};

class CStringTrim : public testing::TestWithParam<TrimCase>
{
};

TEST_P(CStringTrim, RemovesOnlyTheSixWhiteSpaceBytes)
{
    CString text(GetParam().input);
    EXPECT_STREQ(GetParam().trimmed, text.Trim().GetString());
}

INSTANTIATE_TEST_SUITE_P(
    Table, CStringTrim,
    testing::Values(TrimCase{"", ""}, TrimCase{"   ", ""}, TrimCase{" \t\r\n\v\fa b\f\v\n\r\t ", "a b"},
                    TrimCase{"\xA0name\xA0", "\xA0name\xA0"}, // a no-break space is not white space
                    TrimCase{"  Outlook ", "Outlook"}, TrimCase{"in  side", "in  side"}, TrimCase{"\x85x", "\x85x"}));

TEST(CStringTrim, RightThenLeftKeepInnerText)
{
    CString text("  a  ");
    EXPECT_STREQ("  a", CString(text).TrimRight().GetString());
    EXPECT_STREQ("a  ", CString(text).TrimLeft().GetString());
}

TEST(CStringFormat, HasNoLengthLimit)
{
    std::string longText(100000, 'x');
    CString text;
    text.Format("[%s]%d", longText.c_str(), 42);
    ASSERT_EQ(100004, text.GetLength());
    EXPECT_EQ('[', text.GetAt(0));
    EXPECT_STREQ("]42", text.Mid(100001).GetString());
}

TEST(CStringFormat, AppendFormatAddsToTheEnd)
{
    CString text("code");
    text.AppendFormat(" (%#lx)", 5ul);
    text.AppendFormat(" (%#lx)", 0ul);
    EXPECT_STREQ("code (0x5) (0)", text.GetString());
}

TEST(CStringResources, ValueBelow0x10000LoadsTheStringResource)
{
    EXPECT_STREQ("Text from the string table.", CString(Id(IDS_TEST_PLAIN)).GetString());
    CString missing(Id(IDS_TEST_PLAIN + 100));
    EXPECT_TRUE(missing.IsEmpty());
    EXPECT_TRUE(CString(static_cast<LPCSTR>(nullptr)).IsEmpty());
}

// Read from the table's blocks: a string of a block that has others but not
// this one is empty, and every letter comes as the table holds it.
TEST(CStringResources, WideTextIsTheTablesOwn)
{
    EXPECT_EQ(L"Za\u017c\u00f3\u0142\u0107", AfxLoadWideString(IDS_TEST_POLISH));
    EXPECT_EQ(L"Text from the string table.", AfxLoadWideString(IDS_TEST_PLAIN));
    EXPECT_EQ(L"", AfxLoadWideString(IDS_TEST_PLAIN - 1));
    EXPECT_EQ(L"", AfxLoadWideString(IDS_TEST_POLISH + 1));
    EXPECT_EQ(L"", AfxLoadWideString(IDS_TEST_PLAIN + 100));
}

TEST(CStringResources, FormatTakesAResourceIdAsFormat)
{
    CString text;
    text.Format(Id(IDS_TEST_FORMAT), "A", 7);
    EXPECT_STREQ("Value A and number 7.", text.GetString());
}

TEST(CStringResources, StringsComeFromTheCurrentResourceModule)
{
    // A module without a string table: nothing loads while it is current.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    AfxSetResourceHandle(kernel);
    CString fromOther(Id(IDS_TEST_PLAIN));
    AfxSetResourceHandle(nullptr);
    EXPECT_TRUE(fromOther.IsEmpty());
    EXPECT_EQ(AfxGetInstanceHandle(), AfxGetResourceHandle());
}

TEST(CStringEdit, RemoveDropsEveryOccurrence)
{
    CString text("a\r\nb\n\rc");
    EXPECT_EQ(2, text.Remove('\n'));
    EXPECT_EQ(2, text.Remove('\r'));
    EXPECT_STREQ("abc", text.GetString());
}

TEST(CStringEdit, BufferAccessKeepsTextUpToTheFirstNul)
{
    CString text;
    char* buffer = text.GetBuffer(256);
    lstrcpyA(buffer, "from a system call");
    text.ReleaseBuffer();
    EXPECT_EQ(18, text.GetLength());
    EXPECT_STREQ("from a system call", text.GetString());
}

TEST(CStringCompare, NoCaseComparisonIgnoresLetterCaseOnly)
{
    EXPECT_EQ(0, CString("OUTLOOK.EXE").CompareNoCase("outlook.exe"));
    EXPECT_NE(0, CString("outlook.exe ").CompareNoCase("outlook.exe"));
    EXPECT_LT(CString("a").CompareNoCase("B"), 0);
}
} // namespace
