#include "program/core/RegistryBackup.h"

#include "library/error/ErrorMessages.h"
#include "library/error/NvExceptionCommon.h"
#include "library/error/NvExceptionText.h"
#include "library/fs/FsFolders.h"
#include "library/system/ProcessRunner.h"
#include "program/core/CLogFile.h"
#include "program/core/LocalTime.h"
#include "program/core/ProductFolder.h"
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

    DWORD exitCode = 0;
    DWORD result = RunAndWait(commandLine, timeoutMs, TerminatedExitCode, exitCode);
    if (result == WAIT_TIMEOUT)
        throw Error::NvExceptionText(Error::FormatResourceString(IDS_PROGRAM_TERMINATED, editorPath.GetString()),
                                     __FILE__, __LINE__);
    if (result != ERROR_SUCCESS)
        throw Error::NvExceptionCommon(
            result, Error::FormatResourceString(IDS_RUN_PROGRAM_FAILED, editorPath.GetString()), __FILE__, __LINE__);
    // The registry editor of Wine ends with 0 also when it could not open the
    // key or create the file: only a file with something in it is a backup.
    if (exitCode != 0 || !IsNonEmptyFile(backupPath))
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
