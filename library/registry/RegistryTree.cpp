#include "library/registry/RegistryTree.h"

#include "library/base/UniqueHandle.h"

#include <algorithm>
#include <utility>

namespace
{
// The registry's limits, in characters: a key name of 255, a value name of
// 16,383.
const DWORD LongestKeyName = 255;
const DWORD LongestValueName = 16383;
// ERROR_STOPPED_ON_SYMLINK, which MinGW's headers lack.
const LONG StoppedOnSymbolicLink = 681;

// Reads keys one after the other with the same buffers: a key's figures are
// not asked for, since a value that outgrows the buffer is read again with
// more room anyway.
class TreeReader
{
public:
    explicit TreeReader(bool keysOnly) : m_keysOnly(keysOnly), m_valueName(LongestValueName + 1), m_data(4096) {}

    LONG ReadKey(HKEY key, const std::wstring& path, std::vector<RegistryScript::Key>& keys)
    {
        keys.emplace_back();
        keys.back().path = path;
        if (!m_keysOnly)
        {
            LONG result = ReadValues(key, keys.back().values);
            if (result != ERROR_SUCCESS)
                return result;
        }
        wchar_t name[LongestKeyName + 1];
        for (DWORD index = 0;; ++index)
        {
            DWORD nameLength = LongestKeyName + 1;
            LONG result = RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
            if (result == ERROR_NO_MORE_ITEMS)
                return ERROR_SUCCESS;
            if (result != ERROR_SUCCESS)
                return result;
            // A link is read as the key it is, never followed.
            HKEY opened = nullptr;
            result = RegOpenKeyExW(key, name, REG_OPTION_OPEN_LINK, KEY_READ, &opened);
            if (result != ERROR_SUCCESS)
                return result;
            UniqueRegistryKey child(opened);
            result = ReadKey(child.Get(), path + L"\\" + std::wstring(name, nameLength), keys);
            if (result != ERROR_SUCCESS)
                return result;
        }
    }

private:
    LONG ReadValues(HKEY key, std::vector<RegistryScript::Value>& values)
    {
        for (DWORD index = 0;;)
        {
            DWORD nameLength = static_cast<DWORD>(m_valueName.size());
            DWORD size = static_cast<DWORD>(m_data.size());
            DWORD type = REG_NONE;
            LONG result =
                RegEnumValueW(key, index, m_valueName.data(), &nameLength, nullptr, &type, m_data.data(), &size);
            if (result == ERROR_MORE_DATA && size > m_data.size())
            {
                m_data.resize(size);
                continue;
            }
            if (result == ERROR_NO_MORE_ITEMS)
                return ERROR_SUCCESS;
            if (result != ERROR_SUCCESS)
                return result;
            RegistryScript::Value value;
            value.name.assign(m_valueName.data(), nameLength);
            value.type = type;
            value.bytes.assign(m_data.begin(), m_data.begin() + size);
            values.push_back(std::move(value));
            ++index;
        }
    }

    bool m_keysOnly;
    std::vector<wchar_t> m_valueName;
    std::vector<BYTE> m_data;
};
// `name` below `parent`, opened or created with `access` as
// RegistryTree::OpenOrCreate says.
LONG OpenOrCreateName(HKEY parent, const std::wstring& name, REGSAM access, UniqueRegistryKey& opened)
{
    HKEY key = nullptr;
    LONG result = RegOpenKeyExW(parent, name.c_str(), REG_OPTION_OPEN_LINK, access, &key);
    if (result == ERROR_FILE_NOT_FOUND)
        result =
            RegCreateKeyExW(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS)
        return result;
    opened.Reset(key);
    DWORD type = REG_NONE;
    if (RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
        type == REG_LINK)
    {
        opened.Reset();
        return StoppedOnSymbolicLink;
    }
    return ERROR_SUCCESS;
}
} // namespace

LONG RegistryTree::Read(HKEY key, const std::wstring& path, bool keysOnly, std::vector<RegistryScript::Key>& keys)
{
    keys.clear();
    return TreeReader(keysOnly).ReadKey(key, path, keys);
}

LONG RegistryTree::Write(HKEY key, const std::wstring& path, const std::vector<RegistryScript::Key>& keys,
                         std::wstring& failed)
{
    LONG first = ERROR_SUCCESS;
    auto fail = [&](LONG result, const RegistryScript::Absence& where) {
        if (first == ERROR_SUCCESS)
        {
            first = result;
            failed = where.Describe();
        }
    };
    for (const RegistryScript::Key& written : keys)
    {
        if (written.deletion || !RegistryScript::IsAtOrBelow(written.path, path))
            continue;
        UniqueRegistryKey opened;
        HKEY target = key;
        LONG result = ERROR_SUCCESS;
        if (written.path.size() > path.size())
        {
            result = OpenOrCreate(key, written.path.substr(path.size() + 1), opened);
            target = opened.Get();
        }
        if (result != ERROR_SUCCESS)
        {
            fail(result, {written.path, std::nullopt, false});
            continue;
        }
        for (const RegistryScript::Value& value : written.values)
        {
            if (value.IsDeletion())
                continue;
            result = RegSetValueExW(target, value.name.c_str(), 0, value.type, value.bytes.data(),
                                    static_cast<DWORD>(value.bytes.size()));
            if (result != ERROR_SUCCESS)
                fail(result, {written.path, value.name, false});
        }
    }
    return first;
}

LONG RegistryTree::OpenOrCreate(HKEY key, const std::wstring& relative, UniqueRegistryKey& opened)
{
    UniqueRegistryKey current;
    HKEY parent = key;
    for (size_t start = 0; start <= relative.size();)
    {
        size_t end = std::min(relative.find(L'\\', start), relative.size());
        UniqueRegistryKey next;
        // A key on the way needs no more than to be looked at and to take
        // the next one.
        REGSAM access = end == relative.size() ? KEY_READ | KEY_WRITE : KEY_QUERY_VALUE | KEY_CREATE_SUB_KEY;
        LONG result = OpenOrCreateName(parent, relative.substr(start, end - start), access, next);
        if (result != ERROR_SUCCESS)
            return result;
        current = std::move(next);
        parent = current.Get();
        start = end + 1;
    }
    opened = std::move(current);
    return ERROR_SUCCESS;
}
