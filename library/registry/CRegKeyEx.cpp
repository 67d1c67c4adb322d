#include "library/registry/CRegKeyEx.h"

#include "library/base/TextConversionFlags.h"

#include <algorithm>

namespace
{
// 511 characters and the terminating NUL.
constexpr DWORD NameCapacity = 0x1FF;
constexpr DWORD HexValueCapacity = 0x3FF;
// Holds the profile's names and library names read as text; a longer value
// costs a second call.
constexpr DWORD TextValueCapacity = 0x200;
// Zero bytes after the data end it in a NUL, narrow or UTF-16, whatever the
// registry returned (odd-length binary data included).
constexpr DWORD TextPadding = 4;
} // namespace

LONG CRegKeyEx::EnumSubKeys(std::vector<CString>& names) const
{
    CString name;
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

LONG CRegKeyEx::EnumSubKey(DWORD index, CString& name) const
{
    char buffer[NameCapacity + 1];
    DWORD length = NameCapacity;
    LONG result = RegEnumKeyExA(m_hKey, index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    name = result == ERROR_SUCCESS ? CString(buffer) : CString();
    return result;
}

LONG CRegKeyEx::QueryTextValue(LPCSTR name, CString& text) const
{
    text.Empty();
    DWORD type = REG_NONE;
    DWORD size = TextValueCapacity;
    BYTE fixed[TextValueCapacity + TextPadding];
    std::vector<BYTE> grown;
    BYTE* data = fixed;
    LONG result = RegQueryValueExA(m_hKey, name, nullptr, &type, data, &size);
    if (result == ERROR_MORE_DATA)
    {
        grown.assign(size + TextPadding, 0);
        data = grown.data();
        result = RegQueryValueExA(m_hKey, name, nullptr, &type, data, &size);
        if (result != ERROR_SUCCESS)
            return result;
    }
    // A value that cannot be read (a missing one above all) reads as empty
    // text, as does an empty one.
    if (result != ERROR_SUCCESS || size == 0)
        return ERROR_SUCCESS;
    std::fill_n(data + size, TextPadding, 0);

    if (type != REG_BINARY)
    {
        text = reinterpret_cast<LPCSTR>(data);
        return ERROR_SUCCESS;
    }

    // Profile properties in their wide form are stored as binary UTF-16LE.
    LPCWSTR wide = reinterpret_cast<LPCWSTR>(data);
    DWORD flags = ExactConversionFlags(CP_ACP);
    int length = WideCharToMultiByte(CP_ACP, flags, wide, -1, nullptr, 0, nullptr, nullptr);
    // Conversion sets the thread's last-error value, unlike the registry.
    if (length == 0)
        return static_cast<LONG>(GetLastError());
    std::vector<char> narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide, -1, narrow.data(), length, nullptr, nullptr);
    text = narrow.data();
    return ERROR_SUCCESS;
}

LONG CRegKeyEx::QueryHexValue(LPCSTR name, CString& text) const
{
    static const char Digits[] = "0123456789abcdef";
    text.Empty();
    BYTE data[HexValueCapacity + 1] = {};
    DWORD type = REG_NONE;
    DWORD size = HexValueCapacity;
    LONG result = RegQueryValueExA(m_hKey, name, nullptr, &type, data, &size);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_BINARY)
        return ERROR_INVALID_DATA;
    std::string hex;
    hex.reserve(size * 2);
    for (DWORD i = 0; i < size; ++i)
    {
        hex += Digits[data[i] >> 4];
        hex += Digits[data[i] & 0x0F];
    }
    text = CString(hex);
    return ERROR_SUCCESS;
}
