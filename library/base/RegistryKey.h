#pragma once

#include "library/base/UniqueHandle.h"

#include <windows.h>

#include <string>
#include <vector>

// An open registry key, owned and movable, read by the registry's wide
// functions: every name and text as Windows stores it. Results are the
// system's error codes; no operation throws.
class RegistryKey
{
public:
    RegistryKey() = default;

    // Opens `path` below `parent`. On failure returns the code and keeps the
    // key held before; on success lets that key go and returns 0.
    LONG Open(HKEY parent, const std::wstring& path, REGSAM access = KEY_READ | KEY_WRITE);
    void Close() { m_key.Reset(); }

    HKEY Get() const { return m_key.Get(); }
    bool IsOpen() const { return m_key.IsValid(); }

    // Appends the subkey names, in the registry's index order, to `names`.
    // ERROR_SUCCESS when the list reached its end; else the code of the
    // failure that ended it there (a name of 511 characters or more gives
    // ERROR_MORE_DATA), the names before it appended.
    LONG EnumSubKeys(std::vector<std::wstring>& names) const;
    // The name of the subkey at `index` of the registry's index order in
    // `name`. ERROR_NO_MORE_ITEMS past the last one; on failure `name` is
    // empty (a name of 511 characters or more gives ERROR_MORE_DATA).
    LONG EnumSubKey(DWORD index, std::wstring& name) const;

    // Reads a REG_SZ or REG_EXPAND_SZ value of at most `capacity`
    // characters, its final NUL included. ERROR_MORE_DATA for a longer one,
    // ERROR_INVALID_DATA for another type or text without a final NUL; on
    // failure `text` is empty.
    LONG QueryStringValue(const wchar_t* name, std::wstring& text, DWORD capacity) const;

    // Reads a value as text up to its first NUL: binary data as UTF-16LE (a
    // profile's wide properties are stored so), the string types as they
    // are, any other type as bytes in the ANSI code page. A missing or empty
    // value gives 0 and empty text. On failure `text` is empty.
    LONG QueryTextValue(const wchar_t* name, std::wstring& text) const;

    // Reads a binary value of at most 1023 bytes as two lowercase hex digits
    // per byte. ERROR_MORE_DATA for a longer value, ERROR_INVALID_DATA for
    // another type; on failure `text` is empty.
    LONG QueryHexValue(const wchar_t* name, std::wstring& text) const;

    // Deletes the subkey `name`, which must have no subkeys of its own.
    LONG DeleteSubKey(const std::wstring& name) const;

private:
    UniqueRegistryKey m_key;
};
