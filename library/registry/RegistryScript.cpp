#include "library/registry/RegistryScript.h"

#include "library/framework/TextConversion.h"
#include "library/fs/FsFolders.h"

#include <cstring>
#include <map>

namespace
{
const wchar_t* const Header = L"Windows Registry Editor Version 5.00";
// An offending line is quoted up to this many characters.
const size_t QuotedLineLength = 200;

bool IsBlank(wchar_t ch)
{
    return ch == L' ' || ch == L'\t';
}

std::wstring TrimRight(const std::wstring& text)
{
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

std::wstring TrimLeft(const std::wstring& text)
{
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    return text.substr(start);
}

// The position after the closing quote of the quoted text that starts at
// `open`, the text unescaped into `unquoted`; npos when the line ends first.
size_t EndOfQuoted(const std::wstring& line, size_t open, std::wstring& unquoted)
{
    for (size_t i = open + 1; i < line.size(); ++i)
    {
        if (line[i] == L'\\' && i + 1 < line.size())
            unquoted += line[++i];
        else if (line[i] == L'"')
            return i + 1;
        else
            unquoted += line[i];
    }
    return std::wstring::npos;
}

// "hex:", "hex(N):" and "dword:" data, the forms that the editor writes for
// everything but text.
bool IsTypedData(const std::wstring& data)
{
    if (data.compare(0, 6, L"dword:") == 0)
        return data.size() == 14 && data.find_first_not_of(L"0123456789abcdefABCDEF", 6) == std::wstring::npos;
    size_t colon = std::wstring::npos;
    if (data.compare(0, 4, L"hex:") == 0)
        colon = 3;
    else if (data.compare(0, 4, L"hex(") == 0)
    {
        size_t close = data.find(L"):", 4);
        if (close == std::wstring::npos || close == 4 || data.find_first_not_of(L"0123456789abcdefABCDEF", 4) != close)
            return false;
        colon = close + 1;
    }
    if (colon == std::wstring::npos)
        return false;
    return data.find_first_not_of(L"0123456789abcdefABCDEF,", colon + 1) == std::wstring::npos;
}

// Names in the order in which the registry compares them: letter case aside.
struct NameLess
{
    bool operator()(const std::wstring& left, const std::wstring& right) const
    {
        return CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
                                    static_cast<int>(right.size()), TRUE) == CSTR_LESS_THAN;
    }
};

// Each value's data by name.
using ValueIndex = std::map<std::wstring, std::wstring, NameLess>;
// Each key's values by path.
using KeyIndex = std::map<std::wstring, ValueIndex, NameLess>;

// What an import of `keys` leaves: every key and value once, the last data
// of a value that occurs more than once.
KeyIndex IndexKeys(const std::vector<RegistryScript::Key>& keys)
{
    KeyIndex index;
    for (const RegistryScript::Key& key : keys)
    {
        if (key.deletion)
            continue;
        ValueIndex& values = index[key.path];
        for (const RegistryScript::Value& value : key.values)
        {
            if (!value.IsDeletion())
                values[value.name] = value.data;
        }
    }
    return index;
}

// Quoted text is compared as it stands; the hex digits of the other forms
// in any letter case.
bool SameData(const std::wstring& left, const std::wstring& right)
{
    if (!left.empty() && left[0] == L'"')
        return left == right;
    return RegistryScript::SameName(left, right);
}

// `name` as a value line begins: "@" for the default value, else the name
// quoted with its quotes and backslashes escaped.
std::wstring ValueLineName(const std::wstring& name)
{
    if (name.empty())
        return L"@";
    std::wstring quoted = L"\"";
    for (wchar_t ch : name)
    {
        if (ch == L'"' || ch == L'\\')
            quoted += L'\\';
        quoted += ch;
    }
    return quoted + L"\"";
}

// The lines of a text one after the other, each without its line break.
class LineReader
{
public:
    explicit LineReader(const std::wstring& text) : m_text(text) {}

    // False at the end of the text. `broken` tells whether a line break
    // ended the line.
    bool Next(std::wstring& line, bool& broken)
    {
        if (m_position >= m_text.size())
            return false;
        size_t end = m_text.find(L'\n', m_position);
        broken = end != std::wstring::npos;
        if (!broken)
            end = m_text.size();
        line = m_text.substr(m_position, end - m_position);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        m_position = broken ? end + 1 : end;
        ++m_number;
        return true;
    }

    size_t Number() const { return m_number; }

private:
    const std::wstring& m_text;
    size_t m_position = 0;
    size_t m_number = 0;
};
} // namespace

DWORD RegistryScript::Read(LPCSTR path)
{
    m_keys.clear();
    m_problem.clear();
    std::string bytes;
    DWORD read = ReadWholeFile(NvFsPath(path), bytes);
    if (read == ERROR_SUCCESS)
        Parse(bytes);
    return read;
}

void RegistryScript::Parse(const std::string& bytes)
{
    m_keys.clear();
    m_problem.clear();
    if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
        static_cast<unsigned char>(bytes[1]) != 0xFE)
    {
        m_problem = "The file is not a registry export: it does not begin with a UTF-16 byte-order mark.";
        return;
    }
    if (bytes.size() % 2 != 0)
    {
        m_problem = "The file ends in the middle of a character.";
        return;
    }
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    if (!text.empty())
        std::memcpy(&text[0], bytes.data() + 2, text.size() * sizeof(wchar_t));

    LineReader lines(text);
    std::wstring line;
    bool broken = false;
    if (!lines.Next(line, broken) || line != Header)
    {
        Fail("The file is not a registry export: its first line is not \"Windows Registry Editor Version 5.00\"", 1,
             line);
        return;
    }
    while (true)
    {
        if (!broken)
        {
            Fail("The file ends without a line break after", lines.Number(), line);
            return;
        }
        if (!lines.Next(line, broken))
            return;
        size_t number = lines.Number();
        std::wstring trimmed = TrimRight(line);
        if (trimmed.empty() || trimmed[0] == L';')
            continue;
        if (trimmed[0] == L'[')
        {
            if (trimmed.back() != L']' || trimmed.size() < 3)
            {
                Fail("A key line is not understood", number, line);
                return;
            }
            Key key;
            key.path = trimmed.substr(1, trimmed.size() - 2);
            key.deletion = key.path[0] == L'-';
            if (key.deletion)
                key.path.erase(0, 1);
            key.line = number;
            m_keys.push_back(key);
            continue;
        }
        if (trimmed[0] != L'"' && trimmed[0] != L'@')
        {
            Fail("A line is not one of a registry export", number, line);
            return;
        }
        if (m_keys.empty())
        {
            Fail("A value comes before any key", number, line);
            return;
        }

        Value value;
        value.line = number;
        size_t afterName = 1;
        if (trimmed[0] == L'"')
            afterName = EndOfQuoted(trimmed, 0, value.name);
        size_t equals = afterName == std::wstring::npos ? afterName : trimmed.find_first_not_of(L" \t", afterName);
        if (equals == std::wstring::npos || trimmed[equals] != L'=')
        {
            Fail("A value line is not understood", number, line);
            return;
        }
        value.data = TrimLeft(trimmed.substr(equals + 1));
        if (!value.data.empty() && value.data[0] == L'"')
        {
            // Text keeps its escapes; a line break inside it continues the
            // value on the next line.
            std::wstring unquoted;
            size_t end = EndOfQuoted(value.data, 0, unquoted);
            while (end == std::wstring::npos)
            {
                if (!broken || !lines.Next(line, broken))
                {
                    Fail("The file ends in the middle of a value", number, value.data);
                    return;
                }
                value.data += L"\r\n" + line;
                unquoted.clear();
                end = EndOfQuoted(value.data, 0, unquoted);
            }
            if (!TrimRight(value.data.substr(end)).empty())
            {
                Fail("A value line is not understood", number, value.data);
                return;
            }
            value.data = TrimRight(value.data);
        }
        else
        {
            while (!value.data.empty() && value.data.back() == L'\\')
            {
                value.data.pop_back();
                if (!broken || !lines.Next(line, broken))
                {
                    Fail("The file ends in the middle of a value", number, value.data);
                    return;
                }
                value.data += TrimLeft(TrimRight(line));
            }
            if (!value.IsDeletion() && !IsTypedData(value.data))
            {
                Fail("A value line is not understood", number, line);
                return;
            }
        }
        m_keys.back().values.push_back(value);
    }
}

bool RegistryScript::SameName(const std::wstring& left, const std::wstring& right)
{
    return CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
                                static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

bool RegistryScript::IsAtOrBelow(const std::wstring& path, const std::wstring& root)
{
    if (path.size() < root.size() || !SameName(path.substr(0, root.size()), root))
        return false;
    return path.size() == root.size() || path[root.size()] == L'\\';
}

std::string RegistryScript::CheckExportOf(const std::wstring& key) const
{
    if (!IsComplete())
        return m_problem;
    if (m_keys.empty() || (!m_keys[0].deletion && !SameName(m_keys[0].path, key)))
        return "The file does not begin with the key that was exported.";
    for (const Key& written : m_keys)
    {
        if (written.deletion)
            return LineProblem("A key line deletes a key", written.line, L"[-" + written.path + L"]");
        if (!IsAtOrBelow(written.path, key))
            return LineProblem("The file holds another key than the one that was exported", written.line,
                               L"[" + written.path + L"]");
        for (const Value& value : written.values)
        {
            if (value.IsDeletion())
                return LineProblem("A value line deletes a value", value.line, ValueLineName(value.name) + L"=-");
        }
    }
    return std::string();
}

std::vector<RegistryScript::Absence> RegistryScript::FindAbsent(const RegistryScript& other) const
{
    KeyIndex mine = IndexKeys(m_keys);
    KeyIndex theirs = IndexKeys(other.m_keys);
    std::vector<Absence> absent;
    for (const Key& key : m_keys)
    {
        // Taken out once looked at: a key that occurs again is passed over.
        auto own = mine.find(key.path);
        if (own == mine.end())
            continue;
        auto found = theirs.find(key.path);
        if (found == theirs.end())
        {
            absent.push_back({key.path, std::nullopt, false});
        }
        else
        {
            for (const auto& [name, data] : own->second)
            {
                auto value = found->second.find(name);
                if (value == found->second.end())
                    absent.push_back({key.path, name, false});
                else if (!SameData(data, value->second))
                    absent.push_back({key.path, name, true});
            }
        }
        mine.erase(own);
    }
    return absent;
}

std::wstring RegistryScript::Absence::Describe() const
{
    std::wstring text = L"[" + keyPath + L"]";
    if (valueName)
        text += L" " + ValueLineName(*valueName);
    return text;
}

std::string RegistryScript::LineProblem(const char* what, size_t line, const std::wstring& text)
{
    return std::string(what) + " (line " + std::to_string(line) +
           "): " + WideToAnsi(text.substr(0, QuotedLineLength)).Str();
}

void RegistryScript::Fail(const char* what, size_t line, const std::wstring& text)
{
    m_problem = LineProblem(what, line, text);
}
