#include "program/core/RegistryBackupFile.h"

#include "library/base/NameComparison.h"
#include "library/error/ErrorMessages.h"
#include "library/error/NvException.h"
#include "library/base/TextConversion.h"
#include "library/base/UniqueHandle.h"
#include "library/fs/FsFolders.h"
#include "library/registry/RegistryScript.h"
#include "program/core/ProfilesRoot.h"
#include "program/core/RegistryBackup.h"

#include <algorithm>

namespace
{
// "YYYY-MM-DD HH.MM.SS", "d" standing for a digit.
const char StampPattern[] = "dddd-dd-dd dd.dd.dd";
const size_t StampLength = sizeof(StampPattern) - 1;
const size_t MostNumberDigits = 5;

// The time stamp at the start of `name` as "YYYY-MM-DDTHH:MM:SS"; empty when
// the name does not begin with one.
CString ReadStamp(const std::string& name)
{
    if (name.size() < StampLength)
        return CString();
    for (size_t i = 0; i < StampLength; ++i)
    {
        bool digit = name[i] >= '0' && name[i] <= '9';
        if (StampPattern[i] == 'd' ? !digit : name[i] != StampPattern[i])
            return CString();
    }
    std::string taken = name.substr(0, StampLength);
    taken[10] = 'T';
    taken[13] = ':';
    taken[16] = ':';
    return taken;
}

// The number N of a " (N)" that ends `text`, taken off it; 1 without one.
int TakeNumber(std::string& text)
{
    size_t open = text.rfind(" (");
    if (open == std::string::npos || text.back() != ')')
        return 1;
    std::string digits = text.substr(open + 2, text.size() - open - 3);
    if (digits.empty() || digits.size() > MostNumberDigits ||
        digits.find_first_not_of("0123456789") != std::string::npos)
        return 1;
    text.erase(open);
    return std::stoi(digits);
}

// Whether `name` is named as a backup is: the time stamp, then " - ", the
// profile and ".reg", or nothing more for a profile named by blanks alone;
// " (N)" before the extension (or at the end) for the N-th of a second.
bool ReadBackupName(const std::string& name, CString& taken, int& number)
{
    taken = ReadStamp(name);
    if (taken.IsEmpty())
        return false;
    std::string rest = name.substr(StampLength);
    const std::string separator = " - ";
    const std::string extension = ".reg";
    if (rest.compare(0, separator.size(), separator) == 0 && rest.size() > separator.size() + extension.size() &&
        lstrcmpiA(rest.substr(rest.size() - extension.size()).c_str(), extension.c_str()) == 0)
    {
        std::string profilePart = rest.substr(separator.size(), rest.size() - separator.size() - extension.size());
        number = TakeNumber(profilePart);
        return true;
    }
    number = TakeNumber(rest);
    return rest.empty();
}

// The length of the user's hive that `path` begins with, "HKEY_CURRENT_USER"
// or "HKEY_USERS\<SID>" (another user's, backed up by an administrator);
// 0 for any other.
size_t UserHiveLength(const std::wstring& path)
{
    const std::wstring currentUser = L"HKEY_CURRENT_USER";
    const std::wstring users = L"HKEY_USERS\\";
    if (RegistryScript::IsAtOrBelow(path, currentUser))
        return currentUser.size();
    if (path.size() <= users.size() + 2 || !SameName(path.substr(0, users.size() + 2), users + L"S-"))
        return 0;
    size_t end = path.find(L'\\', users.size());
    return end == std::wstring::npos ? 0 : end;
}

// True for "<user's hive>\<profiles root>\<profile>": one key directly
// below one of the roots.
bool IsProfileKey(const std::wstring& path)
{
    size_t hive = UserHiveLength(path);
    if (hive == 0 || path.size() <= hive + 1)
        return false;
    std::wstring below = path.substr(hive + 1);
    for (const std::wstring& root : GetKnownProfilesRoots())
    {
        if (below.size() > root.size() + 1 && RegistryScript::IsAtOrBelow(below, root) &&
            below.find(L'\\', root.size() + 1) == std::wstring::npos)
            return true;
    }
    return false;
}

// Why `script` is not a complete export of one profile key; empty when it is.
std::wstring Judge(const RegistryScript& script)
{
    if (!script.IsComplete())
        return script.GetProblem();
    const std::vector<RegistryScript::Key>& keys = script.GetKeys();
    if (keys.empty())
        return L"The file holds no key.";
    const RegistryScript::Key& first = keys[0];
    if (!IsProfileKey(first.path))
        return RegistryScript::LineProblem("The first key is not a mail profile of a user", first.line,
                                           (first.deletion ? L"[-" : L"[") + first.path + L"]");
    return script.CheckExportOf(first.path);
}
} // namespace

RegistryBackupFile RegistryBackupFile::Read(const NvFsPath& path, std::string& bytes, RegistryScript& script)
{
    RegistryBackupFile backup;
    backup.m_file = path;
    CString taken;
    int number = 1;
    if (ReadBackupName(path.GetFileName().Str(), taken, number))
    {
        backup.m_taken = taken;
        backup.m_number = number;
    }
    script = RegistryScript();
    DWORD read = ReadWholeFile(path, bytes);
    if (read != ERROR_SUCCESS)
    {
        backup.m_problem = L"The file cannot be read: " + AnsiToWide(Error::GetSystemErrorSentence(read));
        return backup;
    }
    backup.m_bytes = bytes.size();
    script.Parse(bytes);
    if (!script.GetKeys().empty())
    {
        backup.m_key = script.GetKeys()[0].path;
        backup.m_profile = backup.m_key.substr(backup.m_key.rfind(L'\\') + 1);
    }
    backup.m_problem = Judge(script);
    return backup;
}

DWORD RegistryBackupFile::List(const NvFsPath& folder, std::vector<RegistryBackupFile>& backups)
{
    backups.clear();
    WIN32_FIND_DATAA entry;
    UniqueFindHandle search(FindFirstFileA(Combine(folder, "*"), &entry));
    if (!search)
    {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
    }
    std::string bytes;
    RegistryScript script;
    do
    {
        CString taken;
        int number = 0;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && ReadBackupName(entry.cFileName, taken, number))
            backups.push_back(Read(Combine(folder, entry.cFileName), bytes, script));
    } while (FindNextFileA(search.Get(), &entry));
    DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES)
    {
        backups.clear();
        return error;
    }
    std::sort(backups.begin(), backups.end(), [](const RegistryBackupFile& left, const RegistryBackupFile& right) {
        if (left.m_taken != right.m_taken)
            return right.m_taken < left.m_taken;
        if (left.m_number != right.m_number)
            return left.m_number > right.m_number;
        return right.m_file < left.m_file;
    });
    return ERROR_SUCCESS;
}

CString RegistryBackupFile::ListBackupFolder(NvFsPath& folder, std::vector<RegistryBackupFile>& backups)
{
    backups.clear();
    try
    {
        folder = GetRegistryBackupFolder();
    }
    catch (const Error::NvException& e)
    {
        return e.GetText();
    }
    DWORD listed = List(folder, backups);
    if (listed == ERROR_SUCCESS)
        return CString();
    return "The backup folder \"" + folder + "\" cannot be read: " + Error::GetSystemErrorSentence(listed);
}
