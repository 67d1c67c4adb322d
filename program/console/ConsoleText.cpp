#include "program/console/ConsoleText.h"

#include "library/base/TextConversion.h"
#include "program/console/ExitCode.h"
#include "program/core/CLogFile.h"

std::wstring Quote(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

size_t Width(const std::wstring& text)
{
    return text.size();
}

std::wstring Pad(const std::wstring& text, size_t width)
{
    std::wstring padded = text;
    for (size_t length = Width(text); length < width; ++length)
        padded += L' ';
    return padded;
}

std::wstring ListLines(const std::vector<std::wstring>& texts)
{
    std::wstring lines;
    for (const std::wstring& text : texts)
        lines += L"  " + text + L"\n";
    return lines;
}

std::wstring LogFilePath()
{
    return AnsiToWide(CLogFile::Instance().GetFilePath());
}

std::wstring IncompleteReadingText()
{
    return L"The profile could not be read completely (see the log file " + Quote(LogFilePath()) +
           L"), so the result cannot be trusted.";
}

std::wstring OutlookRunningText(const wchar_t* command)
{
    return std::wstring(L"Microsoft Outlook is running. Close it (make sure that no OUTLOOK.EXE process is left) "
                        L"and run the ") +
           command + L" again.";
}

std::wstring UserLabel(const std::wstring& sid, const std::wstring& account)
{
    return account.empty() ? sid : account + L" (" + sid + L")";
}

std::wstring ErrorLine(const std::wstring& message)
{
    return L"straysweep: " + message + L"\n";
}

std::wstring WarningLine(const std::wstring& message)
{
    return L"straysweep: warning: " + message + L"\n";
}

std::wstring BackupFailureAndErrorLines(int exitCode, const std::wstring& backupError, const std::wstring& error)
{
    std::wstring lines;
    if (!backupError.empty() && exitCode != ExitCode::BackupFailed)
        lines += WarningLine(L"the profile key cannot be backed up; going on without a backup as --without-backup "
                             L"asks: " +
                             backupError);
    if (exitCode == ExitCode::BackupFailed)
        lines += ErrorLine(backupError + L"\n" + error);
    else if (!error.empty())
        lines += ErrorLine(error);
    return lines;
}
