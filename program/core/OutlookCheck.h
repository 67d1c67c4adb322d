#pragma once

// True when a running process's executable file name is "outlook.exe", in
// any letter case; a fresh snapshot at every call. False when the process
// list cannot be had at all; throws Error::NvExceptionCommon when the
// snapshot fails.
bool IsOutlookRunning();

// Writes the log line that says that Outlook runs, so nothing that changes
// the profile is started.
void LogOutlookRunning();
