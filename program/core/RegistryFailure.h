#pragma once

#include "library/base/CString.h"

#include <string>

// Throws Error::NvExceptionCommon for a failed registry call. Registry
// functions return their code and leave the thread's last-error value alone,
// so the code carried is the call's own. `file` and `line` are the throw
// site's.
[[noreturn]] void ThrowRegistryFailure(LONG code, LPCSTR message, LPCSTR file, int line);

// The text of that exception, for a failure that is logged and passed over
// rather than thrown.
CString RegistryFailureText(LONG code, LPCSTR message);

// The same for a key below the target user's root that does not open: the
// message is string 104 with "\" and `keyPath`, naming the user's key below
// HKEY_USERS when another user's is worked on. A letter of the path that the
// ANSI code page lacks is written as WideToAnsiMarked writes it.
[[noreturn]] void ThrowOpenKeyFailure(LONG code, const std::wstring& keyPath, LPCSTR file, int line);
