#pragma once

#include "library/base/CString.h"

// The SID, as text ("S-1-5-21-..."), of the user that process `processId`
// runs as; empty when it cannot be read (the process has ended, or the
// caller may not look at its token).
CString GetProcessOwnerSid(DWORD processId);

// `sid` as text ("S-1-5-21-..."); empty when it cannot be converted.
CString SidToText(PSID sid);
