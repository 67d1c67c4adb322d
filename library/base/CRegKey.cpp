#include "library/base/CRegKey.h"

LONG CRegKey::Open(HKEY parent, LPCSTR path, REGSAM access)
{
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExA(parent, path, 0, access, &opened);
    if (result != ERROR_SUCCESS)
        return result;
    // The key held before is let go whatever its closing says: the open
    // worked, and saying otherwise would have the caller keep the new key as
    // if it were the old one.
    Close();
    m_hKey = opened;
    return ERROR_SUCCESS;
}

LONG CRegKey::Close()
{
    if (m_hKey == nullptr)
        return ERROR_SUCCESS;
    LONG result = RegCloseKey(m_hKey);
    m_hKey = nullptr;
    return result;
}

LONG CRegKey::QueryStringValue(LPCSTR name, LPSTR buffer, ULONG* count)
{
    DWORD bytes = *count;
    DWORD type = 0;
    *count = 0;
    LONG result = RegQueryValueExA(m_hKey, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &bytes);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    if (bytes == 0)
        buffer[0] = '\0';
    else if (buffer[bytes - 1] != '\0')
        return ERROR_INVALID_DATA;
    *count = bytes;
    return ERROR_SUCCESS;
}
