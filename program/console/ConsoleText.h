#pragma once

#include "library/base/CString.h"

#include <string>
#include <vector>

// The pieces of the command line program's text output that more than one
// command writes. Text is in the ANSI code page.

// `text` in double quotation marks.
CString Quote(const CString& text);
// Width in characters, which is what a console column counts.
size_t Width(const CString& text);
// `text` with blanks after it up to `width` characters.
CString Pad(const CString& text, size_t width);
// One indented line a text.
CString ListLines(const std::vector<CString>& texts);
CString WideListLines(const std::vector<std::wstring>& texts);
// The log's full path.
CString LogFilePath();
// Why a check's or a repair's result cannot be trusted.
CString IncompleteReadingText();
// Why `command` was refused while Outlook runs.
CString OutlookRunningText(const char* command);
// A user as the text output names one: the account and the SID, or the SID.
CString UserLabel(const CString& sid, const CString& account);
// An error line and a warning line for standard error.
CString ErrorLine(const CString& message);
CString WarningLine(const CString& message);
// The warning when the work went on without the backup that failed with
// `backupError`, then the error of a repair or restore ending with
// `exitCode`: the backup's failure and `error` for exit 4, else `error`
// unless it is empty.
CString BackupFailureAndErrorLines(int exitCode, const CString& backupError, const CString& error);
