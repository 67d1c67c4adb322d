#pragma once

#include <windows.h>

// An open registry key, owned: closed by Close or the destructor. Results are
// the system's error codes; no operation throws.
class CRegKey
{
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    // Opens `path` below `parent`. On failure returns the code and keeps the
    // key held before; on success closes that key and returns 0.
    LONG Open(HKEY parent, LPCSTR path, REGSAM access = KEY_READ | KEY_WRITE);

    // Closes the held key: 0 when none was held, else RegCloseKey's result.
    LONG Close();

    // Reads a REG_SZ or REG_EXPAND_SZ value into `buffer`. `count` holds the
    // capacity in characters on entry and the size read, NUL included, on
    // success. ERROR_INVALID_DATA for another type or text without a final
    // NUL.
    LONG QueryStringValue(LPCSTR name, LPSTR buffer, ULONG* count);

    operator HKEY() const { return m_hKey; }

    HKEY m_hKey = nullptr;
};
