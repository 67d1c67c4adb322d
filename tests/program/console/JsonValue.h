#pragma once

#include <string>
#include <utility>
#include <vector>

// A JSON value read back from the program's output, strictly: the tests'
// check that the program writes valid JSON.
class JsonValue
{
public:
    enum class Type
    {
        Null,
        Bool,
        Number,
        String,
        Array,
        Object,
    };

    // The one value of a whole document (white space around it allowed).
    // Throws std::runtime_error, naming the byte offset, on anything RFC 8259
    // does not allow: invalid UTF-8, raw control characters in strings, lone
    // surrogates, trailing commas, duplicate keys, text after the value.
    static JsonValue Parse(const std::string& text);

    Type GetType() const { return m_type; }
    bool IsNull() const { return m_type == Type::Null; }
    // Each throws std::runtime_error when the value has another type.
    bool AsBool() const;
    double AsNumber() const;
    // UTF-8.
    const std::string& AsString() const;
    const std::vector<JsonValue>& AsArray() const;
    // The member's value; throws when the object has no such key.
    const JsonValue& operator[](const std::string& key) const;
    // The object's keys in document order.
    std::vector<std::string> Keys() const;

private:
    class Reader;

    Type m_type = Type::Null;
    bool m_bool = false;
    double m_number = 0;
    std::string m_string;
    std::vector<JsonValue> m_array;
    std::vector<std::pair<std::string, JsonValue>> m_members;
};
