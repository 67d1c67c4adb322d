#include "tests/program/console/JsonValue.h"

#include <cstdlib>
#include <stdexcept>

class JsonValue::Reader
{
public:
    explicit Reader(const std::string& text) : m_text(text) {}

    JsonValue ReadDocument()
    {
        SkipSpace();
        JsonValue value = ReadValue();
        SkipSpace();
        if (m_pos != m_text.size())
            Fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw std::runtime_error("invalid JSON at byte " + std::to_string(m_pos) + ": " + what);
    }

    void SkipSpace()
    {
        while (m_pos < m_text.size() &&
               (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\n' || m_text[m_pos] == '\r'))
            ++m_pos;
    }

    bool TakeLiteral(const char* literal)
    {
        std::string word(literal);
        if (m_text.compare(m_pos, word.size(), word) != 0)
            return false;
        m_pos += word.size();
        return true;
    }

    void Expect(char ch)
    {
        if (m_pos >= m_text.size() || m_text[m_pos] != ch)
            Fail(std::string("expected '") + ch + "'");
        ++m_pos;
    }

    JsonValue ReadValue()
    {
        if (m_pos >= m_text.size())
            Fail("missing value");
        JsonValue value;
        char ch = m_text[m_pos];
        if (ch == '{')
            ReadObject(value);
        else if (ch == '[')
            ReadArray(value);
        else if (ch == '"')
        {
            value.m_type = Type::String;
            value.m_string = ReadString();
        }
        else if (TakeLiteral("true"))
        {
            value.m_type = Type::Bool;
            value.m_bool = true;
        }
        else if (TakeLiteral("false"))
            value.m_type = Type::Bool;
        else if (TakeLiteral("null"))
            value.m_type = Type::Null;
        else
            ReadNumber(value);
        return value;
    }

    void ReadObject(JsonValue& value)
    {
        value.m_type = Type::Object;
        Expect('{');
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == '}')
        {
            ++m_pos;
            return;
        }
        for (;;)
        {
            SkipSpace();
            if (m_pos >= m_text.size() || m_text[m_pos] != '"')
                Fail("expected a key");
            std::string key = ReadString();
            for (const auto& member : value.m_members)
            {
                if (member.first == key)
                    Fail("duplicate key " + key);
            }
            SkipSpace();
            Expect(':');
            SkipSpace();
            value.m_members.emplace_back(key, ReadValue());
            SkipSpace();
            if (m_pos < m_text.size() && m_text[m_pos] == ',')
            {
                ++m_pos;
                continue;
            }
            Expect('}');
            return;
        }
    }

    void ReadArray(JsonValue& value)
    {
        value.m_type = Type::Array;
        Expect('[');
        SkipSpace();
        if (m_pos < m_text.size() && m_text[m_pos] == ']')
        {
            ++m_pos;
            return;
        }
        for (;;)
        {
            SkipSpace();
            value.m_array.push_back(ReadValue());
            SkipSpace();
            if (m_pos < m_text.size() && m_text[m_pos] == ',')
            {
                ++m_pos;
                continue;
            }
            Expect(']');
            return;
        }
    }

    void ReadNumber(JsonValue& value)
    {
        size_t start = m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '-')
            ++m_pos;
        if (m_pos >= m_text.size() || !IsDigit(m_text[m_pos]))
            Fail("unexpected character");
        if (m_text[m_pos] == '0')
            ++m_pos;
        else
            SkipDigits();
        if (m_pos < m_text.size() && m_text[m_pos] == '.')
        {
            ++m_pos;
            if (!SkipDigits())
                Fail("digits expected after the point");
        }
        if (m_pos < m_text.size() && (m_text[m_pos] == 'e' || m_text[m_pos] == 'E'))
        {
            ++m_pos;
            if (m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-'))
                ++m_pos;
            if (!SkipDigits())
                Fail("digits expected in the exponent");
        }
        value.m_type = Type::Number;
        value.m_number = std::strtod(m_text.substr(start, m_pos - start).c_str(), nullptr);
    }

    static bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

    bool SkipDigits()
    {
        size_t start = m_pos;
        while (m_pos < m_text.size() && IsDigit(m_text[m_pos]))
            ++m_pos;
        return m_pos > start;
    }

    unsigned ReadHex4()
    {
        if (m_pos + 4 > m_text.size())
            Fail("short \\u escape");
        unsigned value = 0;
        for (int i = 0; i < 4; ++i)
        {
            char ch = m_text[m_pos++];
            value <<= 4;
            if (IsDigit(ch))
                value |= static_cast<unsigned>(ch - '0');
            else if (ch >= 'a' && ch <= 'f')
                value |= static_cast<unsigned>(ch - 'a' + 10);
            else if (ch >= 'A' && ch <= 'F')
                value |= static_cast<unsigned>(ch - 'A' + 10);
            else
                Fail("bad \\u escape");
        }
        return value;
    }

    static void AppendUtf8(std::string& out, unsigned long code)
    {
        if (code < 0x80)
            out += static_cast<char>(code);
        else if (code < 0x800)
        {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
        else if (code < 0x10000)
        {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
        else
        {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    // One raw UTF-8 character, validated, copied to `out`.
    void ReadRawCharacter(std::string& out)
    {
        unsigned char lead = static_cast<unsigned char>(m_text[m_pos]);
        size_t length = lead < 0x80                    ? 1
                        : lead >= 0xC2 && lead <= 0xDF ? 2
                        : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                       : 0;
        if (length == 0 || m_pos + length > m_text.size())
            Fail("invalid UTF-8");
        unsigned long code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (size_t k = 1; k < length; ++k)
        {
            unsigned char next = static_cast<unsigned char>(m_text[m_pos + k]);
            if ((next & 0xC0) != 0x80)
                Fail("invalid UTF-8");
            code = (code << 6) | (next & 0x3F);
        }
        static const unsigned long Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < Smallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            Fail("invalid UTF-8");
        out.append(m_text, m_pos, length);
        m_pos += length;
    }

    std::string ReadString()
    {
        Expect('"');
        std::string out;
        for (;;)
        {
            if (m_pos >= m_text.size())
                Fail("unterminated string");
            unsigned char ch = static_cast<unsigned char>(m_text[m_pos]);
            if (ch == '"')
            {
                ++m_pos;
                return out;
            }
            if (ch < 0x20)
                Fail("raw control character in a string");
            if (ch != '\\')
            {
                ReadRawCharacter(out);
                continue;
            }
            ++m_pos;
            if (m_pos >= m_text.size())
                Fail("unterminated escape");
            char escape = m_text[m_pos++];
            switch (escape)
            {
            case '"':
            case '\\':
            case '/':
                out += escape;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned long code = ReadHex4();
                if (code >= 0xDC00 && code <= 0xDFFF)
                    Fail("lone low surrogate");
                if (code >= 0xD800 && code <= 0xDBFF)
                {
                    if (!TakeLiteral("\\u"))
                        Fail("lone high surrogate");
                    unsigned long low = ReadHex4();
                    if (low < 0xDC00 || low > 0xDFFF)
                        Fail("lone high surrogate");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                AppendUtf8(out, code);
                break;
            }
            default:
                Fail("unknown escape");
            }
        }
    }

    const std::string& m_text;
    size_t m_pos = 0;
};

JsonValue JsonValue::Parse(const std::string& text)
{
    return Reader(text).ReadDocument();
}

bool JsonValue::AsBool() const
{
    if (m_type != Type::Bool)
        throw std::runtime_error("not a boolean");
    return m_bool;
}

double JsonValue::AsNumber() const
{
    if (m_type != Type::Number)
        throw std::runtime_error("not a number");
    return m_number;
}

const std::string& JsonValue::AsString() const
{
    if (m_type != Type::String)
        throw std::runtime_error("not a string");
    return m_string;
}

const std::vector<JsonValue>& JsonValue::AsArray() const
{
    if (m_type != Type::Array)
        throw std::runtime_error("not an array");
    return m_array;
}

const JsonValue& JsonValue::operator[](const std::string& key) const
{
    if (m_type != Type::Object)
        throw std::runtime_error("not an object");
    for (const auto& member : m_members)
    {
        if (member.first == key)
            return member.second;
    }
    throw std::runtime_error("no member " + key);
}

std::vector<std::string> JsonValue::Keys() const
{
    std::vector<std::string> keys;
    for (const auto& member : m_members)
        keys.push_back(member.first);
    return keys;
}
