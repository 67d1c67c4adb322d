#pragma once

#include "library/framework/CString.h"

namespace Error
{
// The system's text for an error code in the user's default language, or an
// empty string when the system has none.
CString GetSystemErrorText(DWORD code);

// String `formatId` of the current resource module formatted printf-style;
// empty when the string is missing.
CString FormatResourceString(UINT formatId, ...);
} // namespace Error
