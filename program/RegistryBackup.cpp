#include "program/RegistryBackup.h"

#include "library/error/ErrorMessages.h"
#include "library/error/NvExceptionCommon.h"
#include "library/error/NvExceptionText.h"
#include "library/fs/FsFolders.h"
#include "program/CLogFile.h"
#include "program/LocalTime.h"
#include "resources/resource.h"

#include <cstring>

namespace
{
const DWORD EditorTimeoutMs = 60 * 60 * 1000;
const UINT TerminatedExitCode = 100;

// The file for a backup of `profileName` taken now. A name already taken in
// `folder` (a second backup within the same second) gets " (2)", " (3)", ...
// before the extension: the first backup may be the only copy of the profile
// as it was before any removal.
NvFsPath GetNewBackupFilePath(const NvFsPath& folder, LPCSTR profileName)
{
    // No colons: they cannot stand in a file name.
    CString stem = FormatLocalTime("%Y-%m-%d %H.%M.%S");
    CString extension;
    CString safeName = ReplaceInvalidFileNameChars(profileName, '_');
    if (!safeName.IsEmpty())
    {
        stem += " - " + safeName;
        extension = ".reg";
    }
    NvFsPath path = Combine(folder, stem + extension);
    for (int number = 2; PathExists(path); ++number)
    {
        CString name;
        name.Format("%s (%d)%s", stem.GetString(), number, extension.GetString());
        path = Combine(folder, name);
    }
    return path;
}

// Runs `commandLine` in a console of its own with the program's start-up
// information and handles, and returns its exit code. A program still running
// after `timeoutMs` is ended with exit code 100 and reported as failure 110.
DWORD RunAndWait(const NvFsPath& programPath, CString commandLine, DWORD timeoutMs)
{
    STARTUPINFOA startup = {};
    GetStartupInfoA(&startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, commandLine.GetBuffer(0), nullptr, nullptr, TRUE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &started))
    {
        // Read before the message is loaded, which may change it.
        DWORD error = GetLastError();
        throw Error::NvExceptionCommon(
            error, Error::FormatResourceString(IDS_RUN_PROGRAM_FAILED, programPath.GetString()), __FILE__, __LINE__);
    }
    UniqueKernelHandle thread(started.hThread);
    UniqueKernelHandle process(started.hProcess);

    if (WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0)
    {
        TerminateProcess(process.Get(), TerminatedExitCode);
        throw Error::NvExceptionText(Error::FormatResourceString(IDS_PROGRAM_TERMINATED, programPath.GetString()),
                                     __FILE__, __LINE__);
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(process.Get(), &exitCode);
    return exitCode;
}

// True when `path` is a file holding at least one byte.
bool IsNonEmptyFile(const NvFsPath& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    return GetFileAttributesExA(path, GetFileExInfoStandard, &attributes) &&
           (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes.nFileSizeLow != 0 || attributes.nFileSizeHigh != 0);
}
} // namespace

NvFsPath GetRegistryBackupFolder()
{
    NvFsPath folder = Combine(GetAppDataFolder(), "Registry Backup");
    if (!folder.CreateDirectories())
    {
        // Without an error code the folder is handed out all the same; the
        // export into it then tells whether it is usable.
        DWORD error = GetLastError();
        if (error != 0)
            throw Error::NvExceptionCommon(
                error, Error::FormatResourceString(IDS_BACKUP_FOLDER_FAILED, folder.GetString()), __FILE__, __LINE__);
    }
    return folder;
}

NvFsPath CreateRegistryBackup(LPCSTR keyText, LPCSTR profileName)
{
    char windowsFolder[255] = {};
    if (GetSystemWindowsDirectoryA(windowsFolder, sizeof(windowsFolder)) == 0)
    {
        DWORD error = GetLastError();
        throw Error::NvExceptionCommon(error, Error::FormatResourceString(IDS_WINDOWS_FOLDER_FAILED), __FILE__,
                                       __LINE__);
    }
    return RegistryBackupDetail::CreateRegistryBackup(Combine(NvFsPath(windowsFolder), "REGEDIT.EXE"), EditorTimeoutMs,
                                                      keyText, profileName);
}

NvFsPath RegistryBackupDetail::CreateRegistryBackup(const NvFsPath& editorPath, DWORD timeoutMs, LPCSTR keyText,
                                                    LPCSTR profileName)
{
    NvFsPath backupPath = GetNewBackupFilePath(GetRegistryBackupFolder(), profileName);
    CString commandLine;
    commandLine.Format("\"%s\" /e \"%s\" \"%s\"", editorPath.GetString(), backupPath.GetString(), keyText);

    // The registry editor of Wine ends with 0 also when it could not open the
    // key or create the file: only a file with something in it is a backup.
    if (RunAndWait(editorPath, commandLine, timeoutMs) != 0 || !IsNonEmptyFile(backupPath))
        throw Error::NvExceptionText(Error::FormatResourceString(IDS_PROGRAM_FAILED, editorPath.GetString()), __FILE__,
                                     __LINE__);

    CLogFile::Instance().InfoF("Registry backup created in file \"%s\".", backupPath.GetString());
    return backupPath;
}

CString ReplaceInvalidFileNameChars(const CString& text, char replacement)
{
    // Byte by byte rather than character by character: every byte of a
    // double-byte character is replaced anyway, and a trail byte that equals
    // "\" or "|" must not survive into the file name.
    static const char invalid[] = "\\/:*?\"<>|";
    CString result;
    for (char ch : text.Str())
    {
        unsigned char byte = static_cast<unsigned char>(ch);
        bool replace = byte < 0x20 || byte >= 0x80 || std::strchr(invalid, ch) != nullptr;
        result += replace ? replacement : ch;
    }
    return result;
}
