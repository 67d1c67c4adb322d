#pragma once

#include "library/base/CRegKey.h"
#include "library/base/CString.h"

#include <vector>

// The registry key object of the profile analysis: lists subkeys and reads
// values as text or as hexadecimal text. Results are the system's error
// codes; no operation throws for a registry failure.
class CRegKeyEx : public CRegKey
{
public:
    CRegKeyEx() = default;
    // Closes the held key.
    virtual ~CRegKeyEx() = default;

    // Appends the subkey names, in the registry's index order, to `names`.
    // ERROR_SUCCESS when the list reached its end; else the code of the
    // failure that ended it there (a name of more than 511 characters gives
    // ERROR_MORE_DATA), the names before it appended.
    LONG EnumSubKeys(std::vector<CString>& names) const;
    // The name of the subkey at `index` of the registry's index order in
    // `name`. ERROR_NO_MORE_ITEMS past the last one; on failure `name` is
    // empty (a name of more than 511 characters gives ERROR_MORE_DATA).
    LONG EnumSubKey(DWORD index, CString& name) const;

    // Reads a value as text: binary data as UTF-16LE converted to the ANSI
    // code page, any other type as bytes up to the first NUL. A missing or
    // empty value gives 0 and empty text. On failure `text` is empty.
    LONG QueryTextValue(LPCSTR name, CString& text) const;

    // Reads a binary value of at most 1023 bytes as two lowercase hex digits
    // per byte. ERROR_MORE_DATA for a longer value, ERROR_INVALID_DATA for
    // another type; on failure `text` is empty.
    LONG QueryHexValue(LPCSTR name, CString& text) const;
};
