#pragma once

#include <string>
#include <vector>

// Builds one JSON document as UTF-8 text, compact. The caller opens and
// closes objects and arrays in order and gives each member's key before its
// value; separators are put in as the values come.
class JsonWriter
{
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();

    // The key of the next member of the open object.
    JsonWriter& Key(const std::string& name);

    // A string from UTF-8 text: escaped where JSON requires it, and a byte
    // that begins no valid UTF-8 sequence becomes U+FFFD.
    JsonWriter& String(const std::string& utf8);
    JsonWriter& Number(long long value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

    // The document so far.
    const std::string& GetText() const { return m_text; }

    // `utf8` as a JSON string literal, quotes included, as String writes it.
    static std::string Quote(const std::string& utf8);

private:
    // Puts the comma before every value of an array or member of an object
    // but the first.
    void BeforeValue();

    std::string m_text;
    // Per open object or array: whether it has a value yet.
    std::vector<bool> m_hasValue;
    bool m_afterKey = false;
};
