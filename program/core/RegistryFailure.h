#pragma once

#include "library/base/CString.h"

#include <string>

// The text of Error::NvExceptionCommon for a failed registry call, which is
// logged and passed over rather than thrown. Registry functions return their
// code and leave the thread's last-error value alone, so the code is the
// call's own.
CString RegistryFailureText(LONG code, LPCSTR message);

// Throws Error::NvExceptionCommon for a key below the target user's root that
// does not open: string 104 with "\" and `keyPath` for the caller's own key,
// string 125 with the whole key below HKEY_USERS for another user's; the
// log's text writes a letter of the path that the ANSI code page lacks as
// WideToAnsiMarked writes it. `file` and `line` are the throw site's.
[[noreturn]] void ThrowOpenKeyFailure(LONG code, const std::wstring& keyPath, LPCSTR file, int line);
