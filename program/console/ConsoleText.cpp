#include "program/console/ConsoleText.h"

#include "library/base/TextConversion.h"
#include "program/console/ExitCode.h"
#include "program/core/CLogFile.h"

CString Quote(const CString& text)
{
    return "\"" + text + "\"";
}

size_t Width(const CString& text)
{
    return AnsiToWide(text).size();
}

CString Pad(const CString& text, size_t width)
{
    CString padded = text;
    for (size_t length = Width(text); length < width; ++length)
        padded += ' ';
    return padded;
}

CString ListLines(const std::vector<CString>& texts)
{
    CString lines;
    for (const CString& text : texts)
        lines += "  " + text + "\n";
    return lines;
}

CString WideListLines(const std::vector<std::wstring>& texts)
{
    CString lines;
    for (const std::wstring& text : texts)
        lines += "  " + WideToAnsi(text) + "\n";
    return lines;
}

CString LogFilePath()
{
    return CLogFile::Instance().GetFilePath();
}

CString IncompleteReadingText()
{
    return "The profile could not be read completely (see the log file " + Quote(LogFilePath()) +
           "), so the result cannot be trusted.";
}

CString OutlookRunningText(const char* command)
{
    return "Microsoft Outlook is running. Close it (make sure that no OUTLOOK.EXE process is left) and run the " +
           CString(command) + " again.";
}

CString UserLabel(const CString& sid, const CString& account)
{
    return account.IsEmpty() ? sid : account + " (" + sid + ")";
}

CString ErrorLine(const CString& message)
{
    return "straysweep: " + message + "\n";
}

CString WarningLine(const CString& message)
{
    return "straysweep: warning: " + message + "\n";
}

CString BackupFailureAndErrorLines(int exitCode, const CString& backupError, const CString& error)
{
    CString lines;
    if (!backupError.IsEmpty() && exitCode != ExitCode::BackupFailed)
        lines += WarningLine("the profile key cannot be backed up; going on without a backup as --without-backup "
                             "asks: " +
                             backupError);
    if (exitCode == ExitCode::BackupFailed)
        lines += ErrorLine(backupError + "\n" + error);
    else if (!error.IsEmpty())
        lines += ErrorLine(error);
    return lines;
}
