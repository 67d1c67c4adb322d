#include "library/base/RegistryKey.h"
#include "tests/support/ScratchRegistry.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace
{
// Texts that neither code page 1250 nor 1252 holds: Cyrillic, Greek, CJK and
// a character outside the BMP, stored as a surrogate pair.
const std::wstring Cyrillic = L"\u0410\u0440\u0445\u0438\u0432";
const std::wstring Greek = L"\u0391\u03c1\u03c7\u03b5\u03af\u03bf";
const std::wstring Cjk = L"\u6863\u6848";
const std::wstring Envelope = L"Mail \U0001F4E7";
const std::wstring Mixed = Cyrillic + L" " + Greek + L" " + Cjk + L" " + Envelope;

// Omega has the look-alike "O" in code page 1252: the value is found only
// under its exact name.
const wchar_t* const ValueName = L"Wert \u03a9";

void CreateKey(const std::wstring& path)
{
    HKEY created = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &created, nullptr));
    RegCloseKey(created);
}

// The registry stores a text's NUL left out of the size when one follows the
// data in memory: here none does.
void SetValue(const std::wstring& path, const wchar_t* name, DWORD type, const std::string& bytes)
{
    std::string unterminated = bytes + "xx";
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), name, type, unterminated.data(),
                                             static_cast<DWORD>(bytes.size())));
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int value : values)
        bytes += static_cast<char>(value);
    return bytes;
}

std::wstring Repeated(const std::wstring& part, int count)
{
    std::wstring text;
    for (int i = 0; i < count; ++i)
        text += part;
    return text;
}

// UTF-16LE, without a final NUL.
std::string Utf16(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// UTF-16LE with its final NUL, as a REG_SZ holds it.
std::string Sz(const std::wstring& text)
{
    return Utf16(text) + std::string(sizeof(wchar_t), '\0');
}

bool IsOpen(HKEY key)
{
    return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS;
}

class RegistryKeyOpen : public testing::Test
{
protected:
    void SetUp() override
    {
        CreateKey(L"Outer\\Inner");
        SetValue(L"Outer", L"Marker", REG_SZ, Sz(L"outer"));
    }

    static std::wstring Marker(const RegistryKey& key)
    {
        std::wstring text;
        EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue(L"Marker", text, 16));
        return text;
    }

    ScratchRegistry registry;
};

TEST_F(RegistryKeyOpen, ReachesAKeySeveralLevelsDownIgnoringCase)
{
    RegistryKey key;
    EXPECT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, L"OUTER\\inner"));
    EXPECT_TRUE(key.IsOpen());
    EXPECT_TRUE(IsOpen(key.Get()));
}

TEST_F(RegistryKeyOpen, MissingKeyGivesFileNotFoundAndHoldsNothing)
{
    RegistryKey key;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(HKEY_CURRENT_USER, L"Outer\\Missing"));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(nullptr, key.Get());
}

TEST_F(RegistryKeyOpen, FailedOpenKeepsTheKeyHeld)
{
    RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, L"Outer"));
    HKEY held = key.Get();

    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(HKEY_CURRENT_USER, L"Missing"));

    EXPECT_EQ(held, key.Get());
    EXPECT_EQ(L"outer", Marker(key));
}

TEST_F(RegistryKeyOpen, SuccessfulOpenClosesTheKeyHeldBefore)
{
    RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, L"Outer"));
    HKEY before = key.Get();

    EXPECT_EQ(ERROR_SUCCESS, key.Open(before, L"Inner"));

    EXPECT_NE(before, key.Get());
    EXPECT_FALSE(IsOpen(before));
    EXPECT_TRUE(IsOpen(key.Get()));
}

// A second Close must not close a key opened since, which may have been
// given the same handle value.
TEST_F(RegistryKeyOpen, CloseAndDestructorCloseTheKeyOnce)
{
    RegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, L"Outer"));
    HKEY closed = key.Get();
    key.Close();
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(IsOpen(closed));

    HKEY destroyed = nullptr;
    {
        RegistryKey scoped;
        ASSERT_EQ(ERROR_SUCCESS, scoped.Open(HKEY_CURRENT_USER, L"Outer"));
        destroyed = scoped.Get();
        key.Close();
        EXPECT_EQ(L"outer", Marker(scoped));
    }
    EXPECT_FALSE(IsOpen(destroyed));
}

TEST_F(RegistryKeyOpen, MovingHandsTheKeyOverAndClosesTheOneReplaced)
{
    RegistryKey outer;
    ASSERT_EQ(ERROR_SUCCESS, outer.Open(HKEY_CURRENT_USER, L"Outer"));
    HKEY held = outer.Get();

    RegistryKey moved(std::move(outer));
    EXPECT_EQ(held, moved.Get());
    EXPECT_FALSE(outer.IsOpen());
    EXPECT_EQ(L"outer", Marker(moved));

    RegistryKey inner;
    ASSERT_EQ(ERROR_SUCCESS, inner.Open(HKEY_CURRENT_USER, L"Outer\\Inner"));
    HKEY replacing = inner.Get();
    moved = std::move(inner);
    EXPECT_EQ(replacing, moved.Get());
    EXPECT_FALSE(inner.IsOpen());
    EXPECT_FALSE(IsOpen(held));
    EXPECT_TRUE(IsOpen(replacing));
}

struct ValueCase
{
    const char* name;
    DWORD type; // REG_NONE: the value is missing
    std::string bytes;
    LONG result;
    std::wstring text;
    DWORD capacity = 16; // characters, for QueryStringValue
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
        CreateKey(L"Values");
        if (GetParam().type != REG_NONE)
            SetValue(L"Values", ValueName, GetParam().type, GetParam().bytes);
        ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, L"Values"));
    }

    ScratchRegistry registry;
    RegistryKey key;
};

class StringValue : public ValueReading
{
};

// Each output starts with stale text: it must be replaced or emptied.
TEST_P(StringValue, ReadsTextWithinTheCapacity)
{
    std::wstring text = L"stale";
    EXPECT_EQ(GetParam().result, key.QueryStringValue(ValueName, text, GetParam().capacity));
    EXPECT_EQ(GetParam().text, text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StringValue,
    testing::Values(ValueCase{"Text", REG_SZ, Sz(L"abc"), ERROR_SUCCESS, L"abc"},
                    ValueCase{"ExpandableTextUnexpanded", REG_EXPAND_SZ, Sz(L"%x%"), ERROR_SUCCESS, L"%x%"},
                    ValueCase{"EmptyText", REG_SZ, "", ERROR_SUCCESS, L""},
                    ValueCase{"TextFillingTheCapacity", REG_SZ, Sz(L"0123456789abcde"), ERROR_SUCCESS,
                              L"0123456789abcde"},
                    ValueCase{"TextLongerThanTheCapacity", REG_SZ, Sz(L"0123456789abcdef"), ERROR_MORE_DATA, L""},
                    ValueCase{"NoCapacity", REG_SZ, Sz(L"a"), ERROR_MORE_DATA, L"", 0},
                    ValueCase{"TextWithoutNul", REG_SZ, Utf16(L"abc"), ERROR_INVALID_DATA, L""},
                    ValueCase{"TextOfOddLength", REG_SZ, Bytes({'a', 0, 0, 0, 'b'}), ERROR_INVALID_DATA, L""},
                    ValueCase{"TextOutsideTheCodePage", REG_SZ, Sz(Mixed), ERROR_SUCCESS, Mixed, 64},
                    ValueCase{"Binary", REG_BINARY, Sz(L"ab"), ERROR_INVALID_DATA, L""},
                    ValueCase{"Number", REG_DWORD, Bytes({1, 0, 0, 0}), ERROR_INVALID_DATA, L""},
                    ValueCase{"Missing", REG_NONE, "", ERROR_FILE_NOT_FOUND, L""}),
    CaseName);

class TextValue : public ValueReading
{
};

TEST_P(TextValue, ReadsAsText)
{
    std::wstring text = L"stale";
    EXPECT_EQ(GetParam().result, key.QueryTextValue(ValueName, text));
    EXPECT_EQ(GetParam().text, text);
}

// Bytes 0x80 and 0xE9 are the euro sign and e acute in code pages 1250 and
// 1252 alike.
INSTANTIATE_TEST_SUITE_P(
    Table, TextValue,
    testing::Values(
        ValueCase{"Missing", REG_NONE, "", ERROR_SUCCESS, L""},
        ValueCase{"Text", REG_SZ, Sz(L"Archive 2019"), ERROR_SUCCESS, L"Archive 2019"},
        ValueCase{"TextWithoutNul", REG_SZ, Utf16(L"Archive"), ERROR_SUCCESS, L"Archive"},
        ValueCase{"EmptyText", REG_SZ, "", ERROR_SUCCESS, L""},
        ValueCase{"ExpandableTextUnexpanded", REG_EXPAND_SZ, Sz(L"%TEMP%"), ERROR_SUCCESS, L"%TEMP%"},
        ValueCase{"MultiTextUpToFirstNul", REG_MULTI_SZ, Sz(L"ab") + Sz(L"cd") + Sz(L""), ERROR_SUCCESS, L"ab"},
        ValueCase{"TextOutsideTheCodePage", REG_SZ, Sz(Mixed), ERROR_SUCCESS, Mixed},
        ValueCase{"NumberAsAnsiBytes", REG_DWORD, Bytes({0x80, 0x63, 0xE9, 0}), ERROR_SUCCESS, L"\u20acc\u00e9"},
        ValueCase{"WideText", REG_BINARY, Sz(L"AB"), ERROR_SUCCESS, L"AB"},
        ValueCase{"WideTextWithoutNul", REG_BINARY, Utf16(L"AB"), ERROR_SUCCESS, L"AB"},
        ValueCase{"WideTextOfOddLength", REG_BINARY, Bytes({0x41, 0, 0x42}), ERROR_SUCCESS, L"AB"},
        ValueCase{"WideTextUpToFirstNul", REG_BINARY, Sz(L"A") + Sz(L"B"), ERROR_SUCCESS, L"A"},
        ValueCase{"WideTextOutsideTheCodePage", REG_BINARY, Sz(Mixed), ERROR_SUCCESS, Mixed},
        ValueCase{"WideLetterWithLookAlike", REG_BINARY, Sz(L"\u0100r"), ERROR_SUCCESS, L"\u0100r"},
        ValueCase{"EmptyBinary", REG_BINARY, "", ERROR_SUCCESS, L""},
        ValueCase{"TextFillingTheFirstReadWithoutNul", REG_SZ, Utf16(std::wstring(512, L'a')), ERROR_SUCCESS,
                  std::wstring(512, L'a')},
        ValueCase{"LongText", REG_SZ, Sz(std::wstring(5000, L'b')), ERROR_SUCCESS, std::wstring(5000, L'b')},
        ValueCase{"LongWideTextOfOddLength", REG_BINARY, Utf16(std::wstring(600, L'c')) + 'd', ERROR_SUCCESS,
                  std::wstring(600, L'c') + L'd'}),
    CaseName);

class HexValue : public ValueReading
{
};

TEST_P(HexValue, ReadsAsHexDigits)
{
    std::wstring text = L"stale";
    EXPECT_EQ(GetParam().result, key.QueryHexValue(ValueName, text));
    EXPECT_EQ(GetParam().text, text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HexValue,
    testing::Values(ValueCase{"TwoBytesInLowerCase", REG_BINARY, Bytes({0x0A, 0xFF}), ERROR_SUCCESS, L"0aff"},
                    ValueCase{"TwoIdentifiersAsOneText", REG_BINARY, std::string(32, '\x11'), ERROR_SUCCESS,
                              std::wstring(64, L'1')},
                    ValueCase{"EmptyBinary", REG_BINARY, "", ERROR_SUCCESS, L""},
                    ValueCase{"LargestBinary", REG_BINARY, std::string(1023, '\xAB'), ERROR_SUCCESS,
                              Repeated(L"ab", 1023)},
                    ValueCase{"BinaryOneByteTooLong", REG_BINARY, std::string(1024, '\xAB'), ERROR_MORE_DATA, L""},
                    ValueCase{"Text", REG_SZ, Sz(L"0aff"), ERROR_INVALID_DATA, L""},
                    ValueCase{"Number", REG_DWORD, Bytes({1, 0, 0, 0}), ERROR_INVALID_DATA, L""},
                    ValueCase{"Missing", REG_NONE, "", ERROR_FILE_NOT_FOUND, L""}),
    CaseName);

class SubKeys : public testing::Test
{
protected:
    RegistryKey Opened(const std::wstring& path, REGSAM access = KEY_READ | KEY_WRITE)
    {
        RegistryKey key;
        EXPECT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, path, access));
        return key;
    }

    std::vector<std::wstring> List(const std::wstring& path)
    {
        std::vector<std::wstring> names{L"earlier"};
        EXPECT_EQ(ERROR_SUCCESS, Opened(path).EnumSubKeys(names));
        return names;
    }

    ScratchRegistry registry;
};

TEST_F(SubKeys, KeyWithoutSubkeysAppendsNothing)
{
    CreateKey(L"Empty");
    EXPECT_EQ(std::vector<std::wstring>{L"earlier"}, List(L"Empty"));
    std::wstring name = L"stale";
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, Opened(L"Empty").EnumSubKey(0, name));
    EXPECT_EQ(L"", name);
}

// Wine lists subkeys by name, ignoring case.
TEST_F(SubKeys, ListsNamesInIndexOrder)
{
    for (const wchar_t* path : {L"Parent\\b", L"Parent\\A", L"Parent\\c\\Deeper"})
        CreateKey(path);
    EXPECT_EQ((std::vector<std::wstring>{L"earlier", L"A", L"b", L"c"}), List(L"Parent"));
    std::wstring name;
    EXPECT_EQ(ERROR_SUCCESS, Opened(L"Parent").EnumSubKey(1, name));
    EXPECT_EQ(L"b", name);
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, Opened(L"Parent").EnumSubKey(3, name));
    EXPECT_EQ(L"", name);
}

// Wine holds key names of up to 256 characters (a longer one is an invalid
// parameter), so its longest name stays within the 511-character buffer and
// is listed whole; the names after it follow.
TEST_F(SubKeys, ListsTheLongestNameTheRegistryHolds)
{
    std::wstring longest(256, L'n');
    CreateKey(L"Parent\\z");
    CreateKey(L"Parent\\" + longest);
    HKEY refused = nullptr;
    EXPECT_EQ(ERROR_INVALID_PARAMETER, RegCreateKeyExW(Opened(L"Parent").Get(), (longest + L"n").c_str(), 0, nullptr, 0,
                                                       KEY_ALL_ACCESS, nullptr, &refused, nullptr));

    EXPECT_EQ((std::vector<std::wstring>{L"earlier", longest, L"z"}), List(L"Parent"));
}

// A listing that fails says so: the names are then not all there.
TEST_F(SubKeys, ListingRefusedByTheHandleGivesItsCode)
{
    CreateKey(L"Parent\\a");
    RegistryKey key = Opened(L"Parent", KEY_QUERY_VALUE);
    std::vector<std::wstring> names;
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.EnumSubKeys(names));
    EXPECT_TRUE(names.empty());
    std::wstring name = L"stale";
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.EnumSubKey(0, name));
    EXPECT_EQ(L"", name);
}

// Each subkey's value holds its name: the key opened by a listed name must be
// the one of that name, not one whose name merely looks alike.
TEST_F(SubKeys, NamesOutsideTheCodePageListAndOpenExactly)
{
    std::vector<std::wstring> names{Cyrillic, Greek, Cjk, Envelope};
    for (const std::wstring& name : names)
    {
        CreateKey(L"Parent\\" + name);
        SetValue(L"Parent\\" + name, L"Name", REG_SZ, Sz(name));
    }

    std::vector<std::wstring> listed = List(L"Parent");
    ASSERT_EQ(names.size() + 1, listed.size());
    listed.erase(listed.begin());
    std::sort(names.begin(), names.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(names, listed);

    RegistryKey parent = Opened(L"Parent");
    for (const std::wstring& name : listed)
    {
        RegistryKey child;
        ASSERT_EQ(ERROR_SUCCESS, child.Open(parent.Get(), name));
        std::wstring text;
        EXPECT_EQ(ERROR_SUCCESS, child.QueryStringValue(L"Name", text, 16));
        EXPECT_EQ(name, text);
    }
}

TEST_F(SubKeys, DeletesOnlyAnExistingSubkeyWithoutSubkeys)
{
    for (const std::wstring& path : std::vector<std::wstring>{L"Parent\\Leaf", L"Parent\\Branch\\Twig",
                                                              L"Parent\\" + Cyrillic, L"Parent\\" + Greek})
        CreateKey(path);
    RegistryKey parent = Opened(L"Parent");

    EXPECT_EQ(ERROR_SUCCESS, parent.DeleteSubKey(L"Leaf"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, parent.DeleteSubKey(L"Leaf"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, parent.DeleteSubKey(L"Branch"));
    EXPECT_EQ(ERROR_SUCCESS, parent.DeleteSubKey(Cyrillic));

    EXPECT_EQ((std::vector<std::wstring>{L"earlier", L"Branch", Greek}), List(L"Parent"));
}
} // namespace
