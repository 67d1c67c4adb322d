#pragma once

#include "library/base/CString.h"

// True when a running process's executable file name is "outlook.exe", in
// any letter case, and, with `ownerSid`, it runs as that user or its owner
// cannot be read (refusing is safer than guessing); a fresh snapshot at
// every call. False when the process list cannot be had at all; throws
// Error::NvExceptionCommon when the snapshot fails.
bool IsOutlookRunning(const CString& ownerSid = CString());

// Writes the log line that says that Outlook runs, so nothing that changes
// the profile is started.
void LogOutlookRunning();
