#pragma once

#include <string>
#include <vector>

// The pieces of the command line program's text output that more than one
// command writes.

// `text` in double quotation marks.
std::wstring Quote(const std::wstring& text);
// Width in characters, which is what a console column counts.
size_t Width(const std::wstring& text);
// `text` with blanks after it up to `width` characters.
std::wstring Pad(const std::wstring& text, size_t width);
// One indented line a text.
std::wstring ListLines(const std::vector<std::wstring>& texts);
// The log's full path.
std::wstring LogFilePath();
// Why a check's or a repair's result cannot be trusted.
std::wstring IncompleteReadingText();
// Why `command` was refused while Outlook runs.
std::wstring OutlookRunningText(const wchar_t* command);
// A user as the text output names one: the account and the SID, or the SID.
std::wstring UserLabel(const std::wstring& sid, const std::wstring& account);
// An error line and a warning line for standard error.
std::wstring ErrorLine(const std::wstring& message);
std::wstring WarningLine(const std::wstring& message);
// The warning when the work went on without the backup that failed with
// `backupError`, then the error of a repair or restore ending with
// `exitCode`: the backup's failure and `error` for exit 4, else `error`
// unless it is empty.
std::wstring BackupFailureAndErrorLines(int exitCode, const std::wstring& backupError, const std::wstring& error);
