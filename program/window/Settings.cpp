#include "program/window/Settings.h"

#include "library/base/TextConversion.h"
#include "library/base/UniqueHandle.h"
#include "library/fs/FsFolders.h"
#include "program/core/ProductFolder.h"

#include <shlwapi.h>

namespace
{
const char* const SettingsFileName = "Settings.ini";
const wchar_t* const GeneralSection = L"General";
const wchar_t* const PstNameKey = L"PstName";
// The profile functions' size, terminating zero included: 254 characters.
const DWORD ValueBufferSize = 255;
const wchar_t ByteOrderMark = 0xFEFF;

// The bare name stands for "no data folder": the profile functions would look
// for it in the Windows folder and PathFileExists in the current one, so it
// is neither read nor written.
bool IsInDataFolder(const NvFsPath& path)
{
    return path != SettingsFileName;
}

bool IsUnicodeFile(const std::string& bytes)
{
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xFE;
}

// `text` in UTF-16LE with a byte-order mark in place of the file at `path`,
// through a file of the same folder moved over it: a failure on the way
// leaves the old file whole.
bool ReplaceWithUnicodeText(const NvFsPath& path, const std::wstring& text)
{
    std::wstring folder = AnsiToWide(GetParentFolder(path));
    wchar_t temporary[MAX_PATH] = {};
    if (GetTempFileNameW(folder.c_str(), L"set", 0, temporary) == 0)
        return false;
    std::wstring marked = ByteOrderMark + text;
    DWORD size = static_cast<DWORD>(marked.size() * sizeof(wchar_t));
    UniqueFile file(CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    bool complete = file && WriteFile(file.Get(), marked.data(), size, &written, nullptr) && written == size;
    file.Reset();
    if (complete && MoveFileExW(temporary, AnsiToWide(path).c_str(), MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileW(temporary);
    return false;
}

// The profile functions write a file in the ANSI code page, where such a
// name's letters would become "?", unless the file is UTF-16LE with a
// byte-order mark: then they keep it so.
bool MakeUnicodeFile(const NvFsPath& path)
{
    std::string bytes;
    DWORD read = ReadWholeFile(path, bytes);
    if (read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND)
        return false;
    if (IsUnicodeFile(bytes))
        return true;
    return ReplaceWithUnicodeText(path, AnsiToWide(CString(bytes)));
}
} // namespace

std::wstring& GetPstNameSetting()
{
    static std::wstring pstName = LoadSettings();
    return pstName;
}

std::wstring LoadSettings()
{
    NvFsPath path = GetSettingsFilePath();
    if (!IsInDataFolder(path) || !PathFileExistsA(path))
        path = GetExeFolderSettingsFilePath();
    if (!PathFileExistsA(path))
        return std::wstring();
    return ReadSettingsFile(path);
}

std::wstring ReadSettingsFile(LPCSTR path)
{
    wchar_t buffer[ValueBufferSize] = {};
    DWORD length =
        GetPrivateProfileStringW(GeneralSection, PstNameKey, L"", buffer, ValueBufferSize, AnsiToWide(path).c_str());
    return std::wstring(buffer, length);
}

void SavePstNameSetting(const std::wstring& name)
{
    NvFsPath path = GetSettingsFilePath();
    if (!IsInDataFolder(path))
        return;
    CString ansi;
    if (!WideToAnsiExactly(name, ansi) && !MakeUnicodeFile(path))
        return;
    WritePrivateProfileStringW(GeneralSection, PstNameKey, name.c_str(), AnsiToWide(path).c_str());
}

NvFsPath GetSettingsFilePath()
{
    return Combine(GetAppDataFolder(), SettingsFileName);
}

NvFsPath GetExeFolderSettingsFilePath()
{
    return GetParentFolder(GetModuleFilePath()).Append(SettingsFileName);
}
