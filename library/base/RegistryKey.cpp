#include "library/base/RegistryKey.h"

#include "library/base/TextConversion.h"

#include <algorithm>

namespace
{
// 510 characters and the terminating NUL.
constexpr DWORD NameCapacity = 0x1FF;
constexpr DWORD HexValueCapacity = 0x3FF;
// Holds the profile's names and library names read as text; a longer value
// costs a second call.
constexpr DWORD TextValueCapacity = 0x400;
// Zero bytes after the data end it in a NUL, narrow or UTF-16, whatever the
// registry returned (odd-length data included).
constexpr DWORD TextPadding = 4;

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ || type == REG_LINK;
}
} // namespace

LONG RegistryKey::Open(HKEY parent, const std::wstring& path, REGSAM access)
{
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExW(parent, path.c_str(), 0, access, &opened);
    if (result != ERROR_SUCCESS)
        return result;
    m_key.Reset(opened);
    return ERROR_SUCCESS;
}

LONG RegistryKey::EnumSubKeys(std::vector<std::wstring>& names) const
{
    std::wstring name;
    for (DWORD index = 0;; ++index)
    {
        LONG result = EnumSubKey(index, name);
        if (result == ERROR_NO_MORE_ITEMS)
            return ERROR_SUCCESS;
        if (result != ERROR_SUCCESS)
            return result;
        names.push_back(name);
    }
}

LONG RegistryKey::EnumSubKey(DWORD index, std::wstring& name) const
{
    wchar_t buffer[NameCapacity + 1];
    DWORD length = NameCapacity;
    LONG result = RegEnumKeyExW(Get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS)
        name.assign(buffer, length);
    else
        name.clear();
    return result;
}

LONG RegistryKey::QueryStringValue(const wchar_t* name, std::wstring& text, DWORD capacity) const
{
    text.clear();
    // Without a buffer the registry gives the value's size and success, not
    // ERROR_MORE_DATA: even a capacity of 0 needs one.
    std::vector<wchar_t> buffer(std::max<DWORD>(capacity, 1));
    DWORD bytes = capacity * sizeof(wchar_t);
    DWORD type = REG_NONE;
    LONG result = RegQueryValueExW(Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &bytes);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    if (bytes == 0)
        return ERROR_SUCCESS;
    size_t count = bytes / sizeof(wchar_t);
    if (bytes % sizeof(wchar_t) != 0 || buffer[count - 1] != L'\0')
        return ERROR_INVALID_DATA;
    text.assign(buffer.data(), count - 1);
    return ERROR_SUCCESS;
}

LONG RegistryKey::QueryTextValue(const wchar_t* name, std::wstring& text) const
{
    text.clear();
    DWORD type = REG_NONE;
    DWORD size = TextValueCapacity;
    BYTE fixed[TextValueCapacity + TextPadding];
    std::vector<BYTE> grown;
    BYTE* data = fixed;
    LONG result = RegQueryValueExW(Get(), name, nullptr, &type, data, &size);
    if (result == ERROR_MORE_DATA)
    {
        grown.assign(size + TextPadding, 0);
        data = grown.data();
        result = RegQueryValueExW(Get(), name, nullptr, &type, data, &size);
        if (result != ERROR_SUCCESS)
            return result;
    }
    // A value that cannot be read (a missing one above all) reads as empty
    // text, as does an empty one.
    if (result != ERROR_SUCCESS || size == 0)
        return ERROR_SUCCESS;
    std::fill_n(data + size, TextPadding, 0);

    if (type == REG_BINARY || IsStringType(type))
    {
        text = reinterpret_cast<const wchar_t*>(data);
        return ERROR_SUCCESS;
    }
    text = AnsiToWide(reinterpret_cast<const char*>(data));
    return ERROR_SUCCESS;
}

LONG RegistryKey::QueryHexValue(const wchar_t* name, std::wstring& text) const
{
    static const wchar_t Digits[] = L"0123456789abcdef";
    text.clear();
    BYTE data[HexValueCapacity + 1] = {};
    DWORD type = REG_NONE;
    DWORD size = HexValueCapacity;
    LONG result = RegQueryValueExW(Get(), name, nullptr, &type, data, &size);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_BINARY)
        return ERROR_INVALID_DATA;
    text.reserve(size * 2);
    for (DWORD i = 0; i < size; ++i)
    {
        text += Digits[data[i] >> 4];
        text += Digits[data[i] & 0x0F];
    }
    return ERROR_SUCCESS;
}

LONG RegistryKey::DeleteSubKey(const std::wstring& name) const
{
    return RegDeleteKeyW(Get(), name.c_str());
}
