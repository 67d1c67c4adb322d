#include "library/registry/RegistryTree.h"

#include "library/framework/UniqueHandle.h"

#include <utility>

namespace
{
// The registry's limits, in characters: a key name of 255, a value name of
// 16,383.
const DWORD LongestKeyName = 255;
const DWORD LongestValueName = 16383;

// The values of `key` in index order into `values`. A value that grows
// between the key's figures and its reading is read again with more room.
LONG ReadValues(HKEY key, DWORD count, DWORD longestData, std::vector<RegistryScript::Value>& values)
{
    std::wstring name(LongestValueName + 1, L'\0');
    std::vector<BYTE> data(longestData > 0 ? longestData : 1);
    for (DWORD index = 0; index < count; ++index)
    {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        LONG result = RegEnumValueW(key, index, &name[0], &nameLength, nullptr, &type, data.data(), &size);
        if (result == ERROR_MORE_DATA && size > data.size())
        {
            data.resize(size);
            --index;
            continue;
        }
        if (result == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (result != ERROR_SUCCESS)
            return result;
        RegistryScript::Value value;
        value.name.assign(name, 0, nameLength);
        value.type = type;
        value.bytes.assign(data.begin(), data.begin() + size);
        values.push_back(std::move(value));
    }
    return ERROR_SUCCESS;
}

LONG ReadKey(HKEY key, const std::wstring& path, bool keysOnly, std::vector<RegistryScript::Key>& keys)
{
    DWORD subKeys = 0;
    DWORD valueCount = 0;
    DWORD longestData = 0;
    LONG result = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &valueCount, nullptr,
                                   &longestData, nullptr, nullptr);
    if (result != ERROR_SUCCESS)
        return result;
    keys.emplace_back();
    keys.back().path = path;
    if (!keysOnly)
    {
        std::vector<RegistryScript::Value> values;
        result = ReadValues(key, valueCount, longestData, values);
        keys.back().values = std::move(values);
        if (result != ERROR_SUCCESS)
            return result;
    }
    wchar_t name[LongestKeyName + 1];
    for (DWORD index = 0;; ++index)
    {
        DWORD nameLength = LongestKeyName + 1;
        result = RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (result != ERROR_SUCCESS)
            return result;
        HKEY opened = nullptr;
        result = RegOpenKeyExW(key, name, 0, KEY_READ, &opened);
        if (result != ERROR_SUCCESS)
            return result;
        UniqueRegistryKey child(opened);
        result = ReadKey(child.Get(), path + L"\\" + std::wstring(name, nameLength), keysOnly, keys);
        if (result != ERROR_SUCCESS)
            return result;
    }
}
} // namespace

LONG RegistryTree::Read(HKEY key, const std::wstring& path, bool keysOnly, std::vector<RegistryScript::Key>& keys)
{
    keys.clear();
    return ReadKey(key, path, keysOnly, keys);
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
        UniqueRegistryKey created;
        HKEY target = key;
        if (written.path.size() > path.size())
        {
            HKEY opened = nullptr;
            LONG result = RegCreateKeyExW(key, written.path.c_str() + path.size() + 1, 0, nullptr,
                                          REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &opened, nullptr);
            if (result != ERROR_SUCCESS)
            {
                fail(result, {written.path, std::nullopt, false});
                continue;
            }
            created.Reset(opened);
            target = opened;
        }
        for (const RegistryScript::Value& value : written.values)
        {
            if (value.IsDeletion())
                continue;
            LONG result = RegSetValueExW(target, value.name.c_str(), 0, value.type, value.bytes.data(),
                                         static_cast<DWORD>(value.bytes.size()));
            if (result != ERROR_SUCCESS)
                fail(result, {written.path, value.name, false});
        }
    }
    return first;
}
