#include "program/core/RegistryBackup.h"

#include "library/error/ErrorMessages.h"
#include "library/error/NvExceptionCommon.h"
#include "library/error/NvExceptionText.h"
#include "library/base/TextConversion.h"
#include "library/base/UniqueHandle.h"
#include "library/fs/FsFolders.h"
#include "library/registry/RegistryScript.h"
#include "library/registry/RegistryTree.h"
#include "program/core/CLogFile.h"
#include "program/core/LocalTime.h"
#include "program/core/ProductFolder.h"
#include "program/core/TargetUser.h"
#include "resources/resource.h"

#include <cstring>

namespace
{
// The longest path that the registry editor and the shell take everywhere.
const int LongestPath = MAX_PATH - 1;
const int MostNumbers = 10000;

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
        const std::wstring& account = TargetUser::Account();
        userPart = (account.empty() ? ReplaceInvalidFileNameChars(TargetUser::Sid(), '_')
                                    : ReplaceInvalidFileNameChars(account, '_')) +
                   separator;
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
NvFsPath ReserveBackupFile(const NvFsPath& folder, const std::wstring& profileName)
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
// The paths of the key `path` of the chosen user's hive and of every key
// below it, as a listing shows them right before the export; empty when the
// key does not exist, which the export then finds out by itself. Why it
// cannot be listed, in English, into `problem`.
std::vector<RegistryScript::Key> ListKeys(const std::wstring& path, std::wstring& problem)
{
    std::vector<RegistryScript::Key> keys;
    std::wstring root = TargetUser::RootName();
    if (!RegistryScript::IsAtOrBelow(path, root) || path.size() == root.size())
        return keys;
    HKEY opened = nullptr;
    LONG result = RegOpenKeyExW(TargetUser::Root(), path.c_str() + root.size() + 1, 0, KEY_READ, &opened);
    if (result == ERROR_FILE_NOT_FOUND)
        return keys;
    UniqueRegistryKey key(opened);
    if (result == ERROR_SUCCESS)
        result = RegistryTree::Read(key.Get(), path, true, keys);
    if (result != ERROR_SUCCESS)
        problem = L"The key cannot be listed to check the export: " +
                  AnsiToWide(Error::GetSystemErrorSentence(static_cast<DWORD>(result)));
    return keys;
}

// Why the export `exported` is not a backup of every key of `listed`: names
// the first one it lacks; empty when it lacks none. A disk or a quota that
// fills up cuts an export at the end of a key as readily as anywhere else.
std::wstring FindUnexported(const std::vector<RegistryScript::Key>& listed, const RegistryScript& exported)
{
    for (const RegistryScript::Absence& absence : RegistryScript::OfKeys(listed).FindAbsent(exported))
    {
        if (!absence.valueName)
            return L"The export lacks a key that the profile holds: " + absence.Describe();
    }
    return std::wstring();
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

NvFsPath CreateRegistryBackup(const std::wstring& keyText, const std::wstring& profileName)
{
    return CreateRegistryBackup(RegistryEditor::OfSystem(), keyText, profileName);
}

NvFsPath BackUpProfile(const RegistryEditor* editor, const std::wstring& keyText, const std::wstring& profileName,
                       std::wstring& error)
{
    try
    {
        return editor != nullptr ? CreateRegistryBackup(*editor, keyText, profileName)
                                 : CreateRegistryBackup(keyText, profileName);
    }
    catch (const Error::NvException& e)
    {
        CLogFile::Instance().ErrorF("Nie można utworzyć backupu dla profilu \"%s\".",
                                    WideToAnsiMarked(profileName).GetString());
        error = e.GetWideText();
        return NvFsPath();
    }
}

NvFsPath CreateRegistryBackup(const RegistryEditor& editor, const std::wstring& keyText,
                              const std::wstring& profileName)
{
    NvFsPath folder = GetRegistryBackupFolder();
    NvFsPath backupPath = ReserveBackupFile(folder, profileName);
    try
    {
        std::wstring problem;
        std::vector<RegistryScript::Key> listed = ListKeys(keyText, problem);
        RegistryScript exported;
        if (problem.empty())
        {
            editor.Export(backupPath, keyText, exported);
            problem = FindUnexported(listed, exported);
        }
        if (!problem.empty())
            editor.ThrowUnsoundExport(problem, __FILE__, __LINE__);
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

CString ReplaceInvalidFileNameChars(const std::wstring& text, char replacement)
{
    CString ansi;
    if (WideToAnsiExactly(text, ansi))
        return ReplaceInvalidFileNameChars(ansi, replacement);
    // Each character beyond ASCII stands as one byte that the rule replaces;
    // the two halves of a character beyond the BMP are one character.
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i)
    {
        bytes += text[i] < 0x80 ? static_cast<char>(text[i]) : '\x80';
        if (IS_HIGH_SURROGATE(text[i]) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]))
            ++i;
    }
    return ReplaceInvalidFileNameChars(CString(bytes), replacement);
}
