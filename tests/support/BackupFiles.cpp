#include "tests/support/BackupFiles.h"

#include "library/framework/UniqueHandle.h"
#include "library/fs/FsFolders.h"
#include "tests/support/TempFolder.h"

namespace
{
std::set<std::string> ListBackups()
{
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    UniqueFindHandle search(FindFirstFileA((BackupFolder() + "\\*").c_str(), &entry));
    if (!search)
        return names;
    do
    {
        std::string name = entry.cFileName;
        if (name != "." && name != "..")
            names.insert(name);
    } while (FindNextFileA(search.Get(), &entry));
    return names;
}
} // namespace

std::string BackupFolder()
{
    return GetAppDataFolder().Str() + "\\Registry Backup";
}

NewBackups::NewBackups() : m_before(ListBackups())
{
}

NewBackups::~NewBackups()
{
    for (const std::string& name : Names())
        DeleteFileA((BackupFolder() + "\\" + name).c_str());
}

std::vector<std::string> NewBackups::Names() const
{
    std::vector<std::string> names;
    for (const std::string& name : ListBackups())
    {
        if (m_before.count(name) == 0)
            names.push_back(name);
    }
    return names;
}

BackupFolderAside::BackupFolderAside() : m_saved(BackupFolder() + ".saved-" + std::to_string(GetCurrentProcessId()))
{
    m_moved = MoveFileA(BackupFolder().c_str(), m_saved.c_str()) != FALSE;
}

BackupFolderAside::~BackupFolderAside()
{
    DeleteFileA(BackupFolder().c_str());
    RemoveTree(BackupFolder());
    if (m_moved)
        MoveFileA(m_saved.c_str(), BackupFolder().c_str());
}

std::string ReadRegistryScript(const std::string& path)
{
    std::string bytes = ReadFileBytes(path);
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xff\xfe") != 0)
        return std::string();
    std::wstring wide(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length, nullptr, nullptr);
    return text;
}

std::string RegeditPath()
{
    char folder[MAX_PATH] = {};
    GetSystemWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\REGEDIT.EXE";
}

DWORD RunToEnd(std::string commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return GetLastError();
    UniqueKernelHandle thread(started.hThread);
    UniqueKernelHandle process(started.hProcess);
    WaitForSingleObject(process.Get(), 30000);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.Get(), &exitCode);
    return exitCode;
}
