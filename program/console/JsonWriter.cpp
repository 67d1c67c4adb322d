#include "program/console/JsonWriter.h"

#include <cstdio>

namespace
{
const char* const ReplacementCharacter = "\xEF\xBF\xBD";

// The length of the valid UTF-8 sequence at `text[i]`, or 0 when none begins
// there: overlong forms, surrogates and values above U+10FFFF are invalid.
size_t SequenceLength(const std::string& text, size_t i)
{
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    unsigned long value = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
    {
        length = 2;
        value = lead & 0x1Fu;
    }
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        length = 3;
        value = lead & 0x0Fu;
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        length = 4;
        value = lead & 0x07u;
    }
    else
    {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k)
    {
        unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (next & 0x3Fu);
    }
    static const unsigned long Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < Smallest[length] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    return length;
}
} // namespace

JsonWriter& JsonWriter::BeginObject()
{
    BeforeValue();
    m_text += '{';
    m_hasValue.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndObject()
{
    m_hasValue.pop_back();
    m_text += '}';
    return *this;
}

JsonWriter& JsonWriter::BeginArray()
{
    BeforeValue();
    m_text += '[';
    m_hasValue.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndArray()
{
    m_hasValue.pop_back();
    m_text += ']';
    return *this;
}

JsonWriter& JsonWriter::Key(const std::string& name)
{
    BeforeValue();
    m_text += Quote(name);
    m_text += ':';
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::String(const std::string& utf8)
{
    BeforeValue();
    m_text += Quote(utf8);
    return *this;
}

JsonWriter& JsonWriter::Number(long long value)
{
    BeforeValue();
    m_text += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value)
{
    BeforeValue();
    m_text += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null()
{
    BeforeValue();
    m_text += "null";
    return *this;
}

void JsonWriter::BeforeValue()
{
    // A member's value follows its key without a separator.
    if (m_afterKey)
    {
        m_afterKey = false;
        return;
    }
    if (m_hasValue.empty())
        return;
    if (m_hasValue.back())
        m_text += ',';
    m_hasValue.back() = true;
}

std::string JsonWriter::Quote(const std::string& utf8)
{
    std::string quoted = "\"";
    for (size_t i = 0; i < utf8.size();)
    {
        unsigned char ch = static_cast<unsigned char>(utf8[i]);
        size_t length = SequenceLength(utf8, i);
        if (length == 0)
        {
            quoted += ReplacementCharacter;
            ++i;
            continue;
        }
        if (ch == '"')
            quoted += "\\\"";
        else if (ch == '\\')
            quoted += "\\\\";
        else if (ch == '\n')
            quoted += "\\n";
        else if (ch == '\r')
            quoted += "\\r";
        else if (ch == '\t')
            quoted += "\\t";
        else if (ch == '\b')
            quoted += "\\b";
        else if (ch == '\f')
            quoted += "\\f";
        else if (ch < 0x20)
        {
            char escape[8];
            std::snprintf(escape, sizeof(escape), "\\u%04x", ch);
            quoted += escape;
        }
        else
        {
            quoted.append(utf8, i, length);
        }
        i += length;
    }
    quoted += '"';
    return quoted;
}
