#include "program/core/RegistryBackup.h"

#include "library/error/ErrorMessages.h"
#include "library/error/NvExceptionCommon.h"
#include "library/error/NvExceptionText.h"
#include "library/framework/UniqueHandle.h"
#include "library/fs/FsFolders.h"
#include "library/registry/RegistryScript.h"
#include "library/system/ProcessRunner.h"
#include "program/core/CLogFile.h"
#include "program/core/LocalTime.h"
#include "program/core/ProductFolder.h"
#include "program/core/TargetUser.h"
#include "resources/resource.h"

#include <cstring>
#include <string>

namespace
{
const DWORD EditorTimeoutMs = 60 * 60 * 1000;
const UINT TerminatedExitCode = 100;
// The longest path that the registry editor and the shell take everywhere.
const int LongestPath = MAX_PATH - 1;
const int MostNumbers = 10000;

// The registry editor asks for the highest rights that the user has: for an
// administrator under UAC, CreateProcess of it fails with
// ERROR_ELEVATION_REQUIRED. With this compatibility layer it runs with the
// caller's rights, which are enough to export the caller's own keys.
const char* const RunAsInvoker = "__COMPAT_LAYER=RunAsInvoker";

std::wstring Widen(LPCSTR text)
{
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

// The file name of a backup of `safeName` at `stamp`, numbered by `suffix`,
// the profile part shortened so that the path in `folder` fits the longest
// path: never the time stamp, which orders and dates the backups.
CString GetBackupFileName(const NvFsPath& folder, const CString& stamp, const CString& safeName, const CString& suffix)
{
    if (safeName.IsEmpty())
        return stamp + suffix;
    const CString separator = " - ";
    const CString extension = ".reg";
    // Another user's backups carry the user before the profile: the files
    // of different users never mix.
    CString userPart;
    if (!TargetUser::Sid().IsEmpty())
    {
        const CString& account = TargetUser::Account();
        userPart = ReplaceInvalidFileNameChars(account.IsEmpty() ? TargetUser::Sid() : account, '_') + separator;
    }
    int room = LongestPath - (folder.GetLength() + 1) - stamp.GetLength() - separator.GetLength() -
               userPart.GetLength() - suffix.GetLength() - extension.GetLength();
    // The safe name is single-byte text, so any length cuts it cleanly.
    CString profilePart = safeName.GetLength() > room ? safeName.Left(room > 1 ? room : 1) : safeName;
    return stamp + separator + userPart + profilePart + suffix + extension;
}

// Creates the empty file of a new backup of `profileName` in `folder` and
// returns its path. The name is taken by creating the file, so that two
// copies backing up within the same second never share one: a second gets
// " (2)", " (3)", ... before the extension. Throws Error::NvExceptionCommon
// (string 123) when the file cannot be created.
NvFsPath ReserveBackupFile(const NvFsPath& folder, LPCSTR profileName)
{
    // No colons: they cannot stand in a file name.
    CString stamp = FormatLocalTime("%Y-%m-%d %H.%M.%S");
    CString safeName = ReplaceInvalidFileNameChars(profileName, '_');
    for (int number = 1;; ++number)
    {
        CString suffix;
        if (number > 1)
            suffix.Format(" (%d)", number);
        NvFsPath path = Combine(folder, GetBackupFileName(folder, stamp, safeName, suffix));
        UniqueFile file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file)
            return path;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS || number == MostNumbers)
            throw Error::NvExceptionCommon(error, Error::FormatResourceString(IDS_BACKUP_FILE_FAILED, path.GetString()),
                                           __FILE__, __LINE__);
    }
}

// Why the file at `path` is not a complete export of exactly `keyText`;
// empty when it is one.
std::string CheckExport(const NvFsPath& path, LPCSTR keyText)
{
    RegistryScript script;
    DWORD read = script.Read(path);
    if (read != ERROR_SUCCESS)
        return "The file cannot be read: " + std::string(Error::GetSystemErrorText(read).GetString());
    if (!script.IsComplete())
        return script.GetProblem();
    const std::vector<RegistryScript::Key>& keys = script.GetKeys();
    std::wstring key = Widen(keyText);
    if (keys.empty() || keys[0].deletion || !RegistryScript::SameName(keys[0].path, key))
        return "The file does not begin with the key that was exported.";
    for (const RegistryScript::Key& written : keys)
    {
        if (written.deletion || !RegistryScript::IsAtOrBelow(written.path, key))
            return "The file holds another key than the one that was exported (line " + std::to_string(written.line) +
                   ").";
    }
    return std::string();
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
    NvFsPath folder = GetRegistryBackupFolder();
    // The editor's command line has no escape for a quotation mark: a key
    // name holding one would be cut there, and another key exported.
    if (std::strchr(keyText, '"') != nullptr)
        throw Error::NvExceptionText(Error::FormatResourceString(IDS_KEY_NOT_PASSABLE, keyText), __FILE__, __LINE__);
    NvFsPath backupPath = ReserveBackupFile(folder, profileName);
    CString commandLine;
    commandLine.Format("\"%s\" /e \"%s\" \"%s\"", editorPath.GetString(), backupPath.GetString(), keyText);
    try
    {
        DWORD exitCode = 0;
        DWORD result = RunAndWait(commandLine, timeoutMs, TerminatedExitCode, exitCode, RunAsInvoker);
        if (result == WAIT_TIMEOUT)
            throw Error::NvExceptionText(Error::FormatResourceString(IDS_PROGRAM_TERMINATED, editorPath.GetString()),
                                         __FILE__, __LINE__);
        if (result != ERROR_SUCCESS)
            throw Error::NvExceptionCommon(result,
                                           Error::FormatResourceString(IDS_RUN_PROGRAM_FAILED, editorPath.GetString()),
                                           __FILE__, __LINE__);
        CString failed = Error::FormatResourceString(IDS_PROGRAM_FAILED, editorPath.GetString());
        // The registry editor of Wine ends with 0 also when it could not
        // open the key or create the file, and an export cut short by a full
        // disk ends wherever it stopped: only a whole export of the key counts.
        if (exitCode != 0 || !IsNonEmptyFile(backupPath))
            throw Error::NvExceptionText(failed, __FILE__, __LINE__);
        std::string problem = CheckExport(backupPath, keyText);
        if (!problem.empty())
            throw Error::NvExceptionText(failed + "\n\n" + CString(problem), __FILE__, __LINE__);
    }
    catch (const Error::NvException&)
    {
        // What a failed export left would look like a backup.
        DeleteFileA(backupPath);
        throw;
    }

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
