#include "library/registry/CRegKeyEx.h"

namespace
{
// 511 characters and the terminating NUL.
constexpr DWORD NameCapacity = 0x1FF;
constexpr DWORD HexValueCapacity = 0x3FF;
// Zero bytes after the data end it in a NUL, narrow or UTF-16, whatever the
// registry returned (odd-length binary data included).
constexpr DWORD TextPadding = 4;
} // namespace

void CRegKeyEx::EnumSubKeys(std::vector<CString>& names) const
{
    char name[NameCapacity + 1];
    for (DWORD index = 0;; ++index)
    {
        DWORD length = NameCapacity;
        if (RegEnumKeyExA(m_hKey, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return;
        names.emplace_back(name);
    }
}

LONG CRegKeyEx::QueryTextValue(LPCSTR name, CString& text) const
{
    text.Empty();
    DWORD type = REG_NONE;
    DWORD size = 0;
    // A missing value leaves the size at 0, which reads as empty text.
    RegQueryValueExA(m_hKey, name, nullptr, &type, nullptr, &size);
    if (size == 0)
        return ERROR_SUCCESS;

    std::vector<BYTE> data(size + TextPadding, 0);
    LONG result = RegQueryValueExA(m_hKey, name, nullptr, &type, data.data(), &size);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_BINARY)
    {
        text = reinterpret_cast<LPCSTR>(data.data());
        return ERROR_SUCCESS;
    }

    // Profile properties in their wide form are stored as binary UTF-16LE.
    LPCWSTR wide = reinterpret_cast<LPCWSTR>(data.data());
    int length = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    // Conversion sets the thread's last-error value, unlike the registry.
    if (length == 0)
        return static_cast<LONG>(GetLastError());
    std::vector<char> narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow.data(), length, nullptr, nullptr);
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
