#include "library/fs/FsFolders.h"

#include "library/base/NvModuleWrapper.h"
#include "library/base/UniqueHandle.h"

#include <shlobj.h>

NvFsPath GetAppDataPath()
{
    NvModuleWrapper shell;
    if (!shell.Load(L"SHFolder.dll"))
        return NvFsPath();

    using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    auto getFolderPath = shell.GetProc<GetFolderPathFn>("SHGetFolderPathA");
    if (getFolderPath == nullptr)
        return NvFsPath();

    char buffer[4096] = {};
    // The default location, not a redirected current one.
    const DWORD defaultType = 1;
    if (FAILED(getFolderPath(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, defaultType, buffer)))
        return NvFsPath();
    return NvFsPath(buffer);
}

NvFsPath GetAppDataSubfolder(LPCSTR name)
{
    NvFsPath folder = GetAppDataPath();
    if (folder.IsEmpty())
        return folder;
    folder.Append(name);
    if (DirectoryExists(folder) || folder.CreateDirectories())
        return folder;
    return NvFsPath();
}

NvFsPath GetModuleFilePath(HMODULE module)
{
    char buffer[MAX_PATH] = {};
    GetModuleFileNameA(module, buffer, MAX_PATH);
    return NvFsPath(buffer);
}

NvFsPath GetParentFolder(const NvFsPath& path)
{
    if (path.IsEmpty())
        return path;
    const char* text = path.GetString();
    const char* separator = Traits::NvFsPathStrTraitA::FindLast(text, '\\');
    if (separator == nullptr)
        separator = Traits::NvFsPathStrTraitA::FindLast(text, '/');
    if (separator == nullptr || separator == text)
        return path;
    return NvFsPath(CString(text, static_cast<int>(separator - text) + 1));
}

bool PathExists(const NvFsPath& path)
{
    NvFsPath pattern(path);
    if (!pattern.IsEmpty() && pattern.GetAt(pattern.GetLength() - 1) == '\\')
        pattern = NvFsPath(pattern.Left(pattern.GetLength() - 1));
    UniqueFindHandle search(FindFirstMatch(pattern));
    return search.IsValid();
}

bool IsExistingFile(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsNonEmptyFile(const NvFsPath& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    return GetFileAttributesExA(path, GetFileExInfoStandard, &attributes) &&
           (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes.nFileSizeLow != 0 || attributes.nFileSizeHigh != 0);
}

DWORD ReadWholeFile(const NvFsPath& path, std::string& bytes)
{
    UniqueFile file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError();
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.Get(), &size))
        return GetLastError();
    if (size.QuadPart > 0x7FFFFFFF)
        return ERROR_FILE_TOO_LARGE;
    std::string read(static_cast<size_t>(size.QuadPart), '\0');
    DWORD count = 0;
    if (!read.empty() && !ReadFile(file.Get(), &read[0], static_cast<DWORD>(read.size()), &count, nullptr))
        return GetLastError();
    read.resize(count);
    bytes.swap(read);
    return ERROR_SUCCESS;
}
