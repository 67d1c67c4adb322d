#include "library/registry/RegistryScript.h"

#include "library/base/NameComparison.h"
#include "library/base/TextConversion.h"
#include "library/fs/FsFolders.h"

#include <algorithm>
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

bool IsHexDigit(wchar_t ch)
{
    return (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'f') || (ch >= L'A' && ch <= L'F');
}

unsigned HexDigitValue(wchar_t ch)
{
    if (ch <= L'9')
        return ch - L'0';
    return (ch | 0x20) - L'a' + 10;
}

// The quoted text that starts at `open`, unescaped into `unquoted`: the
// position after its closing quote, or npos with `problem` set. The editor
// writes only \\ and \" (Windows) and \r and \n (Wine); any other escape it
// reads otherwise or drops the value, so none is taken.
size_t ReadQuoted(const std::wstring& line, size_t open, std::wstring& unquoted, const char*& problem)
{
    for (size_t i = open + 1; i < line.size(); ++i)
    {
        if (line[i] == L'"')
            return i + 1;
        if (line[i] != L'\\')
        {
            unquoted += line[i];
            continue;
        }
        if (++i == line.size())
            break;
        switch (line[i])
        {
        case L'\\':
        case L'"':
            unquoted += line[i];
            break;
        case L'r':
            unquoted += L'\r';
            break;
        case L'n':
            unquoted += L'\n';
            break;
        default:
            problem = "A quoted text holds an escape that a registry export does not write";
            return std::wstring::npos;
        }
    }
    problem = "A quoted text does not end on its line";
    return std::wstring::npos;
}

// Bytes written as an export writes them, "01,ab,ff": two hex digits each,
// commas between; nothing for no bytes.
bool ReadHexBytes(const std::wstring& text, std::vector<BYTE>& bytes)
{
    bytes.clear();
    if (text.empty())
        return true;
    if ((text.size() + 1) % 3 != 0)
        return false;
    for (size_t i = 0; i < text.size(); i += 3)
    {
        if (!IsHexDigit(text[i]) || !IsHexDigit(text[i + 1]) || (i + 2 < text.size() && text[i + 2] != L','))
            return false;
        bytes.push_back(static_cast<BYTE>(HexDigitValue(text[i]) << 4 | HexDigitValue(text[i + 1])));
    }
    return true;
}

// "dword:", "hex:" and "hex(N):" data, the forms that the editor writes for
// everything but text, into `value`.
bool ReadTypedData(const std::wstring& data, RegistryScript::Value& value)
{
    if (data.compare(0, 6, L"dword:") == 0)
    {
        if (data.size() != 14)
            return false;
        DWORD number = 0;
        for (size_t i = 6; i < data.size(); ++i)
        {
            if (!IsHexDigit(data[i]))
                return false;
            number = number << 4 | HexDigitValue(data[i]);
        }
        value.type = REG_DWORD;
        value.bytes.assign(reinterpret_cast<const BYTE*>(&number), reinterpret_cast<const BYTE*>(&number + 1));
        return true;
    }
    size_t colon = std::wstring::npos;
    if (data.compare(0, 4, L"hex:") == 0)
    {
        value.type = REG_BINARY;
        colon = 3;
    }
    else if (data.compare(0, 4, L"hex(") == 0)
    {
        size_t close = data.find(L"):", 4);
        if (close == std::wstring::npos || close == 4 || close > 12)
            return false;
        DWORD type = 0;
        for (size_t i = 4; i < close; ++i)
        {
            if (!IsHexDigit(data[i]))
                return false;
            type = type << 4 | HexDigitValue(data[i]);
        }
        value.type = type;
        colon = close + 1;
    }
    return colon != std::wstring::npos && ReadHexBytes(data.substr(colon + 1), value.bytes);
}

// A continuation line of hex data: indented, then bytes with a comma after
// each, up to a final backslash or the last byte.
bool IsContinuation(const std::wstring& line)
{
    if (line.empty() || !IsBlank(line[0]))
        return false;
    std::wstring data = TrimLeft(line);
    return !data.empty() && data.find_first_not_of(L"0123456789abcdefABCDEF,\\") == std::wstring::npos &&
           data.find(L'\\') >= data.size() - 1;
}

bool HoldsLineBreakOrNul(const std::wstring& name)
{
    return name.find_first_of(std::wstring(L"\r\n\0", 3)) != std::wstring::npos;
}

// Each value by name.
using ValueIndex = std::map<std::wstring, const RegistryScript::Value*, NameLess>;
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
                values[value.name] = &value;
        }
    }
    return index;
}

bool SameData(const RegistryScript::Value& left, const RegistryScript::Value& right)
{
    return left.type == right.type && left.bytes == right.bytes;
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

// The lines of a text one after the other, each without its CRLF. A line
// ends at CRLF alone: the editor also ends one at a lone LF or CR and stops
// at a NUL, so any of those, and a second byte-order mark, is a problem.
class LineReader
{
public:
    explicit LineReader(const std::wstring& text) : m_text(text) {}

    // False at the end of the text, or with `problem` set for a line that
    // the editor would read otherwise. `broken` tells whether a CRLF ended
    // the line.
    bool Next(std::wstring& line, bool& broken, const char*& problem)
    {
        if (m_position >= m_text.size())
            return false;
        ++m_number;
        size_t end = m_text.find(L"\r\n", m_position);
        broken = end != std::wstring::npos;
        if (!broken)
            end = m_text.size();
        line = m_text.substr(m_position, end - m_position);
        m_position = broken ? end + 2 : end;
        size_t odd = line.find_first_of(std::wstring(L"\r\n\0\xFEFF", 4));
        if (odd == std::wstring::npos)
            return true;
        if (line[odd] == L'\0')
            problem = "A line holds a NUL character";
        else if (line[odd] == 0xFEFF)
            problem = "A line holds a second byte-order mark";
        else
            problem = "A line holds a line break other than CRLF";
        line.erase(odd);
        return false;
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
        m_problem = L"The file is not a registry export: it does not begin with a UTF-16 byte-order mark.";
        return;
    }
    if (bytes.size() % 2 != 0)
    {
        m_problem = L"The file ends in the middle of a character.";
        return;
    }
    std::wstring text((bytes.size() - 2) / 2, L'\0');
    if (!text.empty())
        std::memcpy(&text[0], bytes.data() + 2, text.size() * sizeof(wchar_t));

    LineReader lines(text);
    std::wstring line;
    bool broken = false;
    const char* problem = nullptr;
    auto next = [&]() {
        if (lines.Next(line, broken, problem))
            return true;
        if (problem != nullptr)
            Fail(problem, lines.Number(), line);
        return false;
    };
    if (!next() || line != Header)
    {
        if (problem == nullptr)
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
        bool blank = TrimRight(line).empty();
        if (!next())
        {
            // The editor ends every export with a blank line after the last
            // key's values: without it the file was cut after a line.
            if (problem == nullptr && !blank)
                Fail("The file ends without the blank line that ends a registry export, after", lines.Number(), line);
            return;
        }
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
        {
            afterName = ReadQuoted(trimmed, 0, value.name, problem);
            if (afterName == std::wstring::npos)
            {
                Fail(problem, number, line);
                return;
            }
            if (HoldsLineBreakOrNul(value.name))
            {
                Fail("A value name holds a line break", number, line);
                return;
            }
        }
        size_t equals = trimmed.find_first_not_of(L" \t", afterName);
        if (equals == std::wstring::npos || trimmed[equals] != L'=')
        {
            Fail("A value line is not understood", number, line);
            return;
        }
        std::wstring data = TrimLeft(trimmed.substr(equals + 1));
        if (!data.empty() && data[0] == L'"')
        {
            std::wstring unquoted;
            size_t end = ReadQuoted(data, 0, unquoted, problem);
            if (end == std::wstring::npos)
            {
                Fail(problem, number, line);
                return;
            }
            if (end != data.size())
            {
                Fail("A value line is not understood", number, line);
                return;
            }
            value.type = REG_SZ;
            unquoted += L'\0';
            const BYTE* first = reinterpret_cast<const BYTE*>(unquoted.data());
            value.bytes.assign(first, first + unquoted.size() * sizeof(wchar_t));
        }
        else if (data == L"-")
        {
            value.deletion = true;
        }
        else
        {
            while (!data.empty() && data.back() == L'\\')
            {
                data.pop_back();
                if (!broken)
                {
                    Fail("The file ends in the middle of a value", number, data);
                    return;
                }
                if (!next())
                {
                    if (problem == nullptr)
                        Fail("The file ends in the middle of a value", number, data);
                    return;
                }
                // The editor takes a blank line or a key line here for the
                // end of the value and reads what follows otherwise.
                if (!IsContinuation(line))
                {
                    Fail("A continued value is not followed by a continuation line", lines.Number(), line);
                    return;
                }
                data += TrimLeft(TrimRight(line));
            }
            if (!ReadTypedData(data, value))
            {
                Fail("A value line is not understood", number, line);
                return;
            }
        }
        m_keys.back().values.push_back(value);
    }
}

RegistryScript RegistryScript::OfKeys(std::vector<Key> keys)
{
    RegistryScript script;
    script.m_keys = std::move(keys);
    return script;
}

bool RegistryScript::IsAtOrBelow(const std::wstring& path, const std::wstring& root)
{
    if (path.size() < root.size() || !SameName(path.substr(0, root.size()), root))
        return false;
    return path.size() == root.size() || path[root.size()] == L'\\';
}

std::wstring RegistryScript::CheckExportOf(const std::wstring& key) const
{
    if (!IsComplete())
        return m_problem;
    if (m_keys.empty() || (!m_keys[0].deletion && !SameName(m_keys[0].path, key)))
        return L"The file does not begin with the key that was exported.";
    for (const Key& written : m_keys)
    {
        if (written.deletion)
            return LineProblem("A key line deletes a key", written.line, L"[-" + written.path + L"]");
        if (!IsAtOrBelow(written.path, key))
            return LineProblem("The file holds another key than the one that was exported", written.line,
                               L"[" + written.path + L"]");
        // A key is made by its path below the exported key, one name after
        // the other: no name may be empty.
        if (written.path.find(L"\\\\") != std::wstring::npos || written.path.back() == L'\\')
            return LineProblem("A key line names a key without a name", written.line, L"[" + written.path + L"]");
        for (const Value& value : written.values)
        {
            if (value.IsDeletion())
                return LineProblem("A value line deletes a value", value.line, ValueLineName(value.name) + L"=-");
        }
    }
    return std::wstring();
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
                else if (!SameData(*data, *value->second))
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

std::wstring RegistryScript::LineProblem(const char* what, size_t line, const std::wstring& text)
{
    return AnsiToWide(what) + L" (line " + std::to_wstring(line) + L"): " + text.substr(0, QuotedLineLength);
}

void RegistryScript::Fail(const char* what, size_t line, const std::wstring& text)
{
    m_problem = LineProblem(what, line, text);
}
