#include "library/fs/FsFolders.h"

#include "library/fs/NvShellWrapper.h"

#include <shlobj.h>

const char* const ProductName = "Norvale PST Straysweep";

NvFsPath GetAppDataPath()
{
    NvShellWrapper shell;
    if (!shell.Load())
        return NvFsPath();

    using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    auto getFolderPath = reinterpret_cast<GetFolderPathFn>(reinterpret_cast<void*>(shell.GetProc("SHGetFolderPathA")));
    if (getFolderPath == nullptr)
        return NvFsPath();

    char buffer[4096] = {};
    // The default location, not a redirected current one.
    const DWORD defaultType = 1;
    if (FAILED(getFolderPath(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, defaultType, buffer)))
        return NvFsPath();
    return NvFsPath(buffer);
}

NvFsPath GetAppDataFolder()
{
    NvFsPath folder = GetAppDataPath();
    if (folder.IsEmpty())
        return folder;
    folder.Append(ProductName);
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
