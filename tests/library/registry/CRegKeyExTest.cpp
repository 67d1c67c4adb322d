#include "library/registry/CRegKeyEx.h"
#include "tests/support/ScratchRegistry.h"

#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace
{
void CreateKey(const std::string& path)
{
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key.m_hKey, nullptr));
}

void SetValue(const char* name, DWORD type, const std::string& bytes)
{
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetKeyValueA(HKEY_CURRENT_USER, "Values", name, type, bytes.data(), static_cast<DWORD>(bytes.size())));
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values)
        bytes += static_cast<char>(value);
    return bytes;
}

struct ValueCase
{
    const char* name;
    DWORD type; // REG_NONE: the value is missing
    std::string bytes;
    LONG result;
    std::string text;
};

std::ostream& operator<<(std::ostream& out, const ValueCase& c)
{
    return out << c.name;
}

std::string CaseName(const testing::TestParamInfo<ValueCase>& info)
{
    return info.param.name;
}

class ValueReading : public testing::TestWithParam<ValueCase>
{
protected:
    void SetUp() override
    {
        CreateKey("Values");
        if (GetParam().type != REG_NONE)
            SetValue("Value", GetParam().type, GetParam().bytes);
        ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Values"));
    }

    ScratchRegistry registry;
    CRegKeyEx key;
};

class TextValue : public ValueReading
{
};

// The output starts with stale text: it must be replaced or emptied.
TEST_P(TextValue, ReadsAsText)
{
    CString text = "stale";
    EXPECT_EQ(GetParam().result, key.QueryTextValue("Value", text));
    EXPECT_EQ(GetParam().text, text.Str());
}

// Wide text goes through the ANSI code page: U+00E9 is 0xE9 in both 1250 and
// 1252, U+4E2D is in neither and becomes the default character, and so does
// U+0100, which must not pass for the "A" that it looks like.
INSTANTIATE_TEST_SUITE_P(
    Table, TextValue,
    testing::Values(
        ValueCase{"Missing", REG_NONE, "", ERROR_SUCCESS, ""},
        ValueCase{"Text", REG_SZ, std::string("Archive 2019\0", 13), ERROR_SUCCESS, "Archive 2019"},
        ValueCase{"TextWithoutNul", REG_SZ, "Archive", ERROR_SUCCESS, "Archive"},
        ValueCase{"EmptyText", REG_SZ, "", ERROR_SUCCESS, ""},
        ValueCase{"ExpandableText", REG_EXPAND_SZ, std::string("%TEMP%\0", 7), ERROR_SUCCESS, "%TEMP%"},
        ValueCase{"MultiTextUpToFirstNul", REG_MULTI_SZ, std::string("ab\0cd\0\0", 7), ERROR_SUCCESS, "ab"},
        ValueCase{"NumberAsItsBytes", REG_DWORD, Bytes({0x41, 0x42, 0x43, 0}), ERROR_SUCCESS, "ABC"},
        ValueCase{"WideText", REG_BINARY, Bytes({0x41, 0, 0x42, 0, 0, 0}), ERROR_SUCCESS, "AB"},
        ValueCase{"WideTextWithoutNul", REG_BINARY, Bytes({0x41, 0, 0x42, 0}), ERROR_SUCCESS, "AB"},
        ValueCase{"WideTextOfOddLength", REG_BINARY, Bytes({0x41, 0, 0x42}), ERROR_SUCCESS, "AB"},
        ValueCase{"WideTextUpToFirstNul", REG_BINARY, Bytes({0x41, 0, 0, 0, 0x42, 0}), ERROR_SUCCESS, "A"},
        ValueCase{"WideAccentedLetter", REG_BINARY, Bytes({0x63, 0, 0xE9, 0, 0, 0}), ERROR_SUCCESS, "c\xE9"},
        ValueCase{"WideLetterWithoutMapping", REG_BINARY, Bytes({0x2D, 0x4E, 0x61, 0, 0, 0}), ERROR_SUCCESS, "?a"},
        ValueCase{"WideLetterWithLookAlike", REG_BINARY, Bytes({0x00, 0x01, 0x72, 0, 0, 0}), ERROR_SUCCESS, "?r"},
        ValueCase{"EmptyBinary", REG_BINARY, "", ERROR_SUCCESS, ""},
        ValueCase{"TextOf512BytesWithoutNul", REG_SZ, std::string(512, 'a'), ERROR_SUCCESS, std::string(512, 'a')},
        ValueCase{"LongText", REG_SZ, std::string(5000, 'b') + '\0', ERROR_SUCCESS, std::string(5000, 'b')},
        ValueCase{"LongWideTextOfOddLength", REG_BINARY,
                  [] {
                      std::string bytes;
                      for (int i = 0; i < 600; ++i)
                          bytes += Bytes({0x63, 0});
                      return bytes + 'd';
                  }(),
                  ERROR_SUCCESS, std::string(600, 'c') + 'd'}),
    CaseName);

class HexValue : public ValueReading
{
};

TEST_P(HexValue, ReadsAsHexDigits)
{
    CString text = "stale";
    EXPECT_EQ(GetParam().result, key.QueryHexValue("Value", text));
    EXPECT_EQ(GetParam().text, text.Str());
}

INSTANTIATE_TEST_SUITE_P(
    Table, HexValue,
    testing::Values(ValueCase{"TwoBytesInLowerCase", REG_BINARY, Bytes({0x0A, 0xFF}), ERROR_SUCCESS, "0aff"},
                    ValueCase{"TwoIdentifiersAsOneText", REG_BINARY, std::string(32, '\x11'), ERROR_SUCCESS,
                              std::string(64, '1')},
                    ValueCase{"EmptyBinary", REG_BINARY, "", ERROR_SUCCESS, ""},
                    ValueCase{"LargestBinary", REG_BINARY, std::string(1023, '\xAB'), ERROR_SUCCESS,
                              [] {
                                  std::string digits;
                                  for (int i = 0; i < 1023; ++i)
                                      digits += "ab";
                                  return digits;
                              }()},
                    ValueCase{"BinaryOneByteTooLong", REG_BINARY, std::string(1024, '\xAB'), ERROR_MORE_DATA, ""},
                    ValueCase{"Text", REG_SZ, std::string("0aff\0", 5), ERROR_INVALID_DATA, ""},
                    ValueCase{"Number", REG_DWORD, Bytes({1, 0, 0, 0}), ERROR_INVALID_DATA, ""},
                    ValueCase{"Missing", REG_NONE, "", ERROR_FILE_NOT_FOUND, ""}),
    CaseName);

class SubKeyListing : public testing::Test
{
protected:
    std::vector<CString> List(const std::string& path)
    {
        CRegKeyEx key;
        EXPECT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, path.c_str()));
        std::vector<CString> names{"earlier"};
        EXPECT_EQ(ERROR_SUCCESS, key.EnumSubKeys(names));
        return names;
    }

    ScratchRegistry registry;
};

TEST_F(SubKeyListing, KeyWithoutSubkeysAppendsNothing)
{
    CreateKey("Empty");
    std::vector<CString> names = List("Empty");
    ASSERT_EQ(1u, names.size());
    EXPECT_EQ("earlier", names[0].Str());
}

// Wine lists subkeys by name, ignoring case.
TEST_F(SubKeyListing, AppendsNamesInIndexOrder)
{
    for (const char* name : {"Parent\\b", "Parent\\A", "Parent\\c\\Deeper"})
        CreateKey(name);
    std::vector<CString> names = List("Parent");
    ASSERT_EQ(4u, names.size());
    EXPECT_EQ("earlier", names[0].Str());
    EXPECT_EQ("A", names[1].Str());
    EXPECT_EQ("b", names[2].Str());
    EXPECT_EQ("c", names[3].Str());
}

// Wine holds key names of up to 256 characters (a longer one is an invalid
// parameter), so its longest name stays within the 511-character buffer and
// is listed whole; the names after it follow.
TEST_F(SubKeyListing, ListsTheLongestNameTheRegistryHolds)
{
    std::wstring longest(256, L'n');
    CreateKey("Parent\\z");
    CRegKey parent;
    ASSERT_EQ(ERROR_SUCCESS, parent.Open(HKEY_CURRENT_USER, "Parent"));
    CRegKey created;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(parent, longest.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &created.m_hKey, nullptr));
    CRegKey refused;
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegCreateKeyExW(parent, (longest + L"n").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                                       nullptr, &refused.m_hKey, nullptr));

    std::vector<CString> names = List("Parent");
    ASSERT_EQ(3u, names.size());
    EXPECT_EQ(std::string(256, 'n'), names[1].Str());
    EXPECT_EQ("z", names[2].Str());
}

// A listing that fails says so: the names are then not all there.
TEST_F(SubKeyListing, ListingRefusedByTheHandleGivesItsCode)
{
    CreateKey("Parent\\a");
    CRegKeyEx key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Parent", KEY_QUERY_VALUE));
    std::vector<CString> names;
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.EnumSubKeys(names));
    EXPECT_TRUE(names.empty());
}

TEST(RegKeyExLifetime, DestroyingThroughTheClassClosesTheKey)
{
    ScratchRegistry registry;
    CreateKey("Held");
    auto key = std::make_unique<CRegKeyEx>();
    ASSERT_EQ(ERROR_SUCCESS, key->Open(HKEY_CURRENT_USER, "Held"));
    HKEY held = key->m_hKey;

    key.reset();

    EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryInfoKeyA(held, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                     nullptr, nullptr, nullptr, nullptr, nullptr));
}
} // namespace
