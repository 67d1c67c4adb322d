#pragma once

#include "library/base/CString.h"

#include <string>

namespace Error
{
// The system's text for an error code in the user's default language, or an
// empty string when the system has none.
CString GetSystemErrorText(DWORD code);
// The same without the line break and blanks that end it, for a text that
// goes on after it; "System error N." for a code without a text.
CString GetSystemErrorSentence(DWORD code);

// String `formatId` of the current resource module formatted printf-style;
// empty when the string is missing.
CString FormatResourceString(UINT formatId, ...);

// A string resource with its one "%s" filled by a name, in both of an
// exception's forms.
struct ResourceMessage
{
    // For the log: in the ANSI code page, a letter of the name that it lacks
    // written as WideToAnsiMarked writes it.
    CString logged;
    // For the user: the name as it is stored.
    std::wstring shown;
};
ResourceMessage FormatResourceMessage(UINT formatId, const std::wstring& name);
} // namespace Error
