#include "library/base/NameComparison.h"
#include "library/registry/RegistryScript.h"
#include "tests/support/RegistryTools.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{
const std::wstring Head = L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\P]\r\n";

RegistryScript Parsed(const std::wstring& text)
{
    RegistryScript script;
    script.Parse(RegistryScriptBytes(text));
    return script;
}

std::vector<BYTE> Bytes(std::initializer_list<int> values)
{
    return std::vector<BYTE>(values.begin(), values.end());
}

// A text as the registry holds it: UTF-16LE with its final NUL.
std::vector<BYTE> TextBytes(const std::wstring& text)
{
    const BYTE* first = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(first, first + (text.size() + 1) * sizeof(wchar_t));
}

struct ProblemCase
{
    const char* name;
    // What follows the first key line.
    std::wstring text;
    std::wstring problem;
};

std::ostream& operator<<(std::ostream& out, const ProblemCase& c)
{
    return out << c.name;
}

class ScriptProblem : public testing::TestWithParam<ProblemCase>
{
};

// Each is a file that the registry editor would read otherwise than the
// check does: nothing of it may count as checked.
TEST_P(ScriptProblem, IsNamedWithItsLine)
{
    RegistryScript script = Parsed(Head + GetParam().text);

    EXPECT_FALSE(script.IsComplete());
    EXPECT_EQ(GetParam().problem, script.GetProblem());
    EXPECT_EQ(GetParam().problem, script.CheckExportOf(L"HKEY_CURRENT_USER\\P"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScriptProblem,
    testing::Values(
        ProblemCase{"LoneCarriageReturnHidingAKeyLine", L";a\r[HKEY_LOCAL_MACHINE\\Software\\X]\r\n\r\n",
                    L"A line holds a line break other than CRLF (line 4): ;a"},
        ProblemCase{"LoneLineFeedInAKeyName", L"\r\n[HKEY_CURRENT_USER\\P\\a\n[HKEY_CURRENT_USER\\Q]]\r\n\r\n",
                    L"A line holds a line break other than CRLF (line 5): [HKEY_CURRENT_USER\\P\\a"},
        // The line is quoted as it stands, not in a code page.
        ProblemCase{"LoneLineFeedInANameOutsideTheCodePage",
                    L"\r\n[HKEY_CURRENT_USER\\P\\\u0410\u0440\u0445\u0438\u0432 \U0001F4E7\n[HKEY_CURRENT_USER\\Q]]\r\n\r\n",
                    L"A line holds a line break other than CRLF (line 5): [HKEY_CURRENT_USER\\P\\\u0410\u0440\u0445\u0438\u0432 "
                    L"\U0001F4E7"},
        ProblemCase{"NulInAQuotedText", std::wstring(L"\"x\"=\"ab\0cd\"\r\n\r\n", 16),
                    L"A line holds a NUL character (line 4): \"x\"=\"ab"},
        ProblemCase{"SecondByteOrderMark", L"\xFEFF\"x\"=\"a\"\r\n\r\n",
                    L"A line holds a second byte-order mark (line 4): "},
        ProblemCase{"QuotedTextOverTwoLines", L"\"x\"=\"ab\r\ncd\"\r\n\r\n",
                    L"A quoted text does not end on its line (line 4): \"x\"=\"ab"},
        ProblemCase{"NulEscape", L"\"x\"=\"a\\0b\"\r\n\r\n",
                    L"A quoted text holds an escape that a registry export does not write (line 4): \"x\"=\"a\\0b\""},
        ProblemCase{"ValueNameWithALineBreak", L"\"a\\nb\"=\"x\"\r\n\r\n",
                    L"A value name holds a line break (line 4): \"a\\nb\"=\"x\""},
        ProblemCase{"ContinuationFollowedByABlankLine", L"\"x\"=hex:01,\\\r\n\r\n[HKEY_CURRENT_USER\\P\\b]\r\n\r\n",
                    L"A continued value is not followed by a continuation line (line 5): "},
        ProblemCase{"ContinuationFollowedByAKeyLine", L"\"x\"=hex:01,\\\r\n[HKEY_CURRENT_USER\\P\\b]\r\n\r\n",
                    L"A continued value is not followed by a continuation line (line 5): [HKEY_CURRENT_USER\\P\\b]"},
        ProblemCase{"CutAfterAValue", L"\"x\"=dword:00000001\r\n",
                    L"The file ends without the blank line that ends a registry export, after (line 4): "
                    L"\"x\"=dword:00000001"},
        ProblemCase{"CutInsideALine", L"\"x\"=dword:00000001",
                    L"The file ends without a line break after (line 4): \"x\"=dword:00000001"},
        ProblemCase{"HexDigitMissing", L"\"x\"=hex:1,02\r\n\r\n",
                    L"A value line is not understood (line 4): \"x\"=hex:1,02"},
        ProblemCase{"DwordTooShort", L"\"x\"=dword:2a\r\n\r\n",
                    L"A value line is not understood (line 4): \"x\"=dword:2a"}));

TEST(RegistryScript, KeyWithAnEmptyNameIsNoExport)
{
    RegistryScript script = Parsed(Head + L"\r\n[HKEY_CURRENT_USER\\P\\\\a]\r\n\r\n");

    EXPECT_TRUE(script.IsComplete());
    EXPECT_EQ(L"A key line names a key without a name (line 5): [HKEY_CURRENT_USER\\P\\\\a]",
              script.CheckExportOf(L"HKEY_CURRENT_USER\\P"));
}

struct DecodedCase
{
    const char* name;
    // One value line, with its continuation lines.
    std::wstring line;
    std::wstring valueName;
    DWORD type;
    std::vector<BYTE> bytes;
};

std::ostream& operator<<(std::ostream& out, const DecodedCase& c)
{
    return out << c.name;
}

class DecodedValue : public testing::TestWithParam<DecodedCase>
{
};

TEST_P(DecodedValue, HoldsTheTypeAndBytesThatTheRegistryHolds)
{
    const DecodedCase& c = GetParam();
    RegistryScript script = Parsed(Head + c.line + L"\r\n\r\n");

    ASSERT_EQ(L"", script.GetProblem());
    ASSERT_EQ(1u, script.GetKeys().size());
    ASSERT_EQ(1u, script.GetKeys()[0].values.size());
    const RegistryScript::Value& value = script.GetKeys()[0].values[0];
    EXPECT_EQ(c.valueName, value.name);
    EXPECT_FALSE(value.IsDeletion());
    EXPECT_EQ(c.type, value.type);
    EXPECT_EQ(c.bytes, value.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecodedValue,
    testing::Values(
        DecodedCase{"TextWithEveryEscape", L"\"s\"=\"a\\\\b\\\"c\\r\\nd\"", L"s", REG_SZ, TextBytes(L"a\\b\"c\r\nd")},
        DecodedCase{"EmptyDefaultText", L"@=\"\"", L"", REG_SZ, TextBytes(L"")},
        DecodedCase{"NameWithAQuote", L"\"a\\\"b\\\\\"=dword:0000002a", L"a\"b\\", REG_DWORD, Bytes({0x2a, 0, 0, 0})},
        DecodedCase{"Dword", L"\"d\"=dword:8000ff01", L"d", REG_DWORD, Bytes({0x01, 0xff, 0x00, 0x80})},
        DecodedCase{"Qword", L"\"q\"=hex(b):2a,00,00,00,00,00,00,01", L"q", REG_QWORD,
                    Bytes({0x2a, 0, 0, 0, 0, 0, 0, 1})},
        DecodedCase{"Expandable", L"\"e\"=hex(2):25,00,00,00", L"e", REG_EXPAND_SZ, Bytes({0x25, 0, 0, 0})},
        DecodedCase{"MultiString", L"\"m\"=hex(7):61,00,00,00,00,00", L"m", REG_MULTI_SZ, Bytes({0x61, 0, 0, 0, 0, 0})},
        DecodedCase{"Binary", L"\"b\"=hex:01,ff", L"b", REG_BINARY, Bytes({0x01, 0xff})},
        DecodedCase{"NoneWithoutBytes", L"\"n\"=hex(0):", L"n", REG_NONE, Bytes({})},
        DecodedCase{"OtherType", L"\"o\"=hex(100):01", L"o", 0x100, Bytes({0x01})},
        DecodedCase{"Continued", L"\"c\"=hex:01,02,\\\r\n  03,\\\r\n  04", L"c", REG_BINARY, Bytes({1, 2, 3, 4})}));

// The restore's proof compares what the registry holds: the same bytes under
// another type are other data.
TEST(RegistryScript, SameBytesOfAnotherTypeAreOtherData)
{
    RegistryScript text = Parsed(Head + L"\"v\"=\"%\"\r\n\r\n");
    RegistryScript expandable = Parsed(Head + L"\"v\"=hex(2):25,00,00,00\r\n\r\n");
    ASSERT_EQ(text.GetKeys()[0].values[0].bytes, expandable.GetKeys()[0].values[0].bytes);

    std::vector<RegistryScript::Absence> absent = text.FindAbsent(expandable);

    ASSERT_EQ(1u, absent.size());
    EXPECT_TRUE(absent[0].otherData);
    EXPECT_EQ(L"[HKEY_CURRENT_USER\\P] \"v\"", absent[0].Describe());
}

// Letter case aside, beyond ASCII too: past a letter beyond ASCII the
// system's table decides.
TEST(RegistryScript, NamesCompareAsTheRegistryComparesThem)
{
    EXPECT_TRUE(SameName(L"Profiles\\R\u00e9sum\u00e9", L"PROFILES\\r\u00c9SUM\u00c9"));
    EXPECT_TRUE(SameName(L"\u0410\u0440\u0445\u0438\u0432", L"\u0430\u0420\u0425\u0418\u0412"));
    EXPECT_FALSE(SameName(L"Profiles\\a", L"Profiles\\a "));
    EXPECT_FALSE(SameName(L"\u00e9a", L"\u00e9b"));
    EXPECT_TRUE(RegistryScript::IsAtOrBelow(L"HKEY_CURRENT_USER\\P\u00c9\\x", L"hkey_current_user\\p\u00e9"));
    EXPECT_FALSE(RegistryScript::IsAtOrBelow(L"HKEY_CURRENT_USER\\Px", L"HKEY_CURRENT_USER\\P"));
}
} // namespace
