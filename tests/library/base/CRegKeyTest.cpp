#include "library/base/CRegKey.h"
#include "tests/support/ScratchRegistry.h"

#include <string>

#include <gtest/gtest.h>

namespace
{
void CreateKey(const char* path)
{
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key.m_hKey, nullptr));
}

void SetValue(const char* path, const char* name, DWORD type, const std::string& bytes)
{
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetKeyValueA(HKEY_CURRENT_USER, path, name, type, bytes.data(), static_cast<DWORD>(bytes.size())));
}

// True while `key` is an open registry handle.
bool IsOpen(HKEY key)
{
    return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS;
}

class RegKeyOpen : public testing::Test
{
protected:
    void SetUp() override
    {
        CreateKey("Outer\\Inner");
        SetValue("Outer", "Marker", REG_SZ, std::string("outer", 6));
    }

    ScratchRegistry registry;
};

TEST_F(RegKeyOpen, ReachesAKeySeveralLevelsDownIgnoringCase)
{
    CRegKey key;
    EXPECT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "OUTER\\inner"));
    EXPECT_TRUE(IsOpen(key));
}

TEST_F(RegKeyOpen, MissingKeyGivesFileNotFoundAndHoldsNothing)
{
    CRegKey key;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(HKEY_CURRENT_USER, "Outer\\Missing"));
    EXPECT_EQ(nullptr, key.m_hKey);
}

// The key held before cannot be closed (a handle that is no key): the open
// still worked, and says so.
TEST_F(RegKeyOpen, OpenThatWorkedSucceedsWhateverClosingTheOldKeySays)
{
    CRegKey key;
    key.m_hKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7ff0));
    ASSERT_NE(ERROR_SUCCESS, RegCloseKey(key.m_hKey));

    EXPECT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Outer"));

    EXPECT_TRUE(IsOpen(key));
}

TEST_F(RegKeyOpen, FailedOpenKeepsTheKeyHeld)
{
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Outer"));
    HKEY held = key.m_hKey;

    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(HKEY_CURRENT_USER, "Missing"));

    EXPECT_EQ(held, key.m_hKey);
    char text[16] = {};
    ULONG count = sizeof(text);
    EXPECT_EQ(ERROR_SUCCESS, key.QueryStringValue("Marker", text, &count));
    EXPECT_STREQ("outer", text);
}

TEST_F(RegKeyOpen, SuccessfulOpenClosesTheKeyHeldBefore)
{
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Outer"));
    HKEY before = key.m_hKey;

    EXPECT_EQ(ERROR_SUCCESS, key.Open(key, "Inner"));

    EXPECT_NE(before, key.m_hKey);
    EXPECT_FALSE(IsOpen(before));
    EXPECT_TRUE(IsOpen(key));
}

TEST_F(RegKeyOpen, CloseReleasesTheKeyAndThenHasNothingToClose)
{
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Outer"));
    HKEY held = key.m_hKey;

    EXPECT_EQ(ERROR_SUCCESS, key.Close());
    EXPECT_EQ(nullptr, key.m_hKey);
    EXPECT_FALSE(IsOpen(held));
    EXPECT_EQ(ERROR_SUCCESS, key.Close());
}

TEST_F(RegKeyOpen, DestructorClosesTheKey)
{
    HKEY held = nullptr;
    {
        CRegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Outer"));
        held = key.m_hKey;
    }
    EXPECT_FALSE(IsOpen(held));
}

struct StringCase
{
    const char* name;
    DWORD type;
    std::string bytes;
    ULONG capacity;
    LONG result;
    ULONG count;
    std::string text;
};

std::ostream& operator<<(std::ostream& out, const StringCase& c)
{
    return out << c.name;
}

class RegKeyQueryStringValue : public testing::TestWithParam<StringCase>
{
protected:
    ScratchRegistry registry;
};

// The buffer starts filled with 'x': the text read must end in its own NUL.
TEST_P(RegKeyQueryStringValue, GivesTheTextOrAnExactCode)
{
    const StringCase& c = GetParam();
    CreateKey("Values");
    if (c.type != REG_NONE)
        SetValue("Values", "Value", c.type, c.bytes);
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Values"));
    char buffer[16];
    memset(buffer, 'x', sizeof(buffer));
    ULONG count = c.capacity;

    EXPECT_EQ(c.result, key.QueryStringValue("Value", buffer, &count));

    EXPECT_EQ(c.count, count);
    if (c.result == ERROR_SUCCESS)
    {
        EXPECT_EQ(c.text, std::string(buffer));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegKeyQueryStringValue,
    testing::Values(StringCase{"Text", REG_SZ, std::string("abc", 4), 16, ERROR_SUCCESS, 4, "abc"},
                    StringCase{"ExpandableText", REG_EXPAND_SZ, std::string("%x%", 4), 16, ERROR_SUCCESS, 4, "%x%"},
                    StringCase{"EmptyText", REG_SZ, "", 16, ERROR_SUCCESS, 0, ""},
                    StringCase{"TextFillingTheBuffer", REG_SZ, std::string("0123456789abcde", 16), 16, ERROR_SUCCESS,
                               16, "0123456789abcde"},
                    StringCase{"TextLongerThanTheBuffer", REG_SZ, std::string("0123456789abcdef", 17), 16,
                               ERROR_MORE_DATA, 0, ""},
                    StringCase{"Binary", REG_BINARY, std::string("ab\0", 3), 16, ERROR_INVALID_DATA, 0, ""},
                    StringCase{"Number", REG_DWORD, std::string("\1\0\0\0", 4), 16, ERROR_INVALID_DATA, 0, ""},
                    StringCase{"Missing", REG_NONE, "", 16, ERROR_FILE_NOT_FOUND, 0, ""}),
    [](const testing::TestParamInfo<StringCase>& info) { return std::string(info.param.name); });

// The ANSI functions give a wide REG_SZ of odd byte length back without its
// final NUL, which is how such text reaches the program.
TEST(RegKeyQueryStringValueWithoutNul, IsInvalidData)
{
    ScratchRegistry registry;
    CreateKey("Values");
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, "Values"));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"Value", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"abc"), 5));
    char buffer[16];
    ULONG count = sizeof(buffer);

    EXPECT_EQ(ERROR_INVALID_DATA, key.QueryStringValue("Value", buffer, &count));
    EXPECT_EQ(0u, count);
}
} // namespace
