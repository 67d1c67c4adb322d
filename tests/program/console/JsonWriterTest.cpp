#include "program/console/JsonWriter.h"
#include "tests/program/console/JsonValue.h"

#include <gtest/gtest.h>

namespace
{
TEST(JsonWriter, SeparatesMembersAndElementsAtEveryLevel)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("a").Number(-7);
    json.Key("b").BeginArray().Bool(true).Null().BeginObject().EndObject().BeginArray().EndArray().String("x");
    json.EndArray();
    json.Key("c").BeginObject().Key("d").Bool(false).Key("e").Number(0).EndObject();
    json.EndObject();
    EXPECT_EQ(R"({"a":-7,"b":[true,null,{},[],"x"],"c":{"d":false,"e":0}})", json.GetText());

    JsonValue value = JsonValue::Parse(json.GetText());
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), value.Keys());
    EXPECT_EQ(-7, value["a"].AsNumber());
    EXPECT_EQ(5u, value["b"].AsArray().size());
    EXPECT_FALSE(value["c"]["d"].AsBool());
}

TEST(JsonWriter, EmptyContainersAndASingleValue)
{
    EXPECT_EQ("{}", JsonWriter().BeginObject().EndObject().GetText());
    EXPECT_EQ("[]", JsonWriter().BeginArray().EndArray().GetText());
    EXPECT_EQ("\"only\"", JsonWriter().String("only").GetText());
}

struct QuoteCase
{
    const char* name;
    std::string text;
    std::string quoted;
};

std::ostream& operator<<(std::ostream& out, const QuoteCase& c)
{
    return out << c.name;
}

class JsonString : public testing::TestWithParam<QuoteCase>
{
};

// Each quoted string is also read back: a parser must get valid UTF-8 and
// the replacement character where the input was not.
TEST_P(JsonString, IsEscapedWhereJsonRequires)
{
    std::string quoted = JsonWriter::Quote(GetParam().text);
    EXPECT_EQ(GetParam().quoted, quoted);
    EXPECT_NO_THROW(JsonValue::Parse(quoted)) << quoted;
}

INSTANTIATE_TEST_SUITE_P(
    Table, JsonString,
    testing::Values(QuoteCase{"Plain", "Archive 2019", "\"Archive 2019\""}, QuoteCase{"Empty", "", "\"\""},
                    QuoteCase{"QuoteAndBackslash", "a\"b\\c", R"("a\"b\\c")"},
                    QuoteCase{"NamedControls", "\b\f\n\r\t", R"("\b\f\n\r\t")"},
                    QuoteCase{"OtherControls", std::string("\x01\x1f\x00z", 4), R"("\u0001\u001f\u0000z")"},
                    QuoteCase{"DeleteAndSlashStay", "\x7f/", "\"\x7f/\""},
                    QuoteCase{"MultibyteStays", "\xc3\xbc \xe2\x82\xac \xf0\x9f\x93\x81",
                              "\"\xc3\xbc \xe2\x82\xac \xf0\x9f\x93\x81\""},
                    QuoteCase{"StrayContinuationByte", "a\x80z", "\"a\xef\xbf\xbdz\""},
                    QuoteCase{"Windows1252Byte", "\xfc", "\"\xef\xbf\xbd\""},
                    QuoteCase{"TruncatedSequence", "\xe2\x82", "\"\xef\xbf\xbd\xef\xbf\xbd\""},
                    QuoteCase{"OverlongSlash", "\xc0\xaf", "\"\xef\xbf\xbd\xef\xbf\xbd\""},
                    QuoteCase{"EncodedSurrogate", "\xed\xa0\x80", "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\""},
                    QuoteCase{"AboveUnicode", "\xf4\x90\x80\x80",
                              "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\""}),
    [](const testing::TestParamInfo<QuoteCase>& info) { return std::string(info.param.name); });

TEST(JsonString, ReadsBackAsTheSameText)
{
    const std::string text = "Archiwum \"stary\" C:\\pst\\a.pst\r\n\x01 \xc5\x82\xc3\xb3";
    JsonValue value = JsonValue::Parse(JsonWriter().BeginArray().String(text).EndArray().GetText());
    EXPECT_EQ(text, value.AsArray().at(0).AsString());
}

// The tests' reader must be able to fail, or it proves nothing about the
// program's documents.
class NotJson : public testing::TestWithParam<std::string>
{
};

TEST_P(NotJson, IsRejectedByTheTestsReader)
{
    EXPECT_THROW(JsonValue::Parse(GetParam()), std::runtime_error) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Table, NotJson,
                         testing::Values("", "{", "{\"a\":1,}", "[1,]", "{\"a\":1,\"a\":2}", "\"tab\there\"",
                                         "\"\xfc\"", "\"\\ud800\"", "\"\\x41\"", "{} {}", "01", "[.5]", "nul",
                                         "{'a':1}"));
} // namespace
