#include "program/window/Settings.h"

#include "library/fs/FsFolders.h"
#include "program/core/ProductFolder.h"

#include <shlwapi.h>

namespace
{
const char* const SettingsFileName = "Settings.ini";
const char* const GeneralSection = "General";
const char* const PstNameKey = "PstName";
// The profile functions' size, terminating zero included: 254 characters.
const DWORD ValueBufferSize = 255;

// The bare name stands for "no data folder": the profile functions would look
// for it in the Windows folder and PathFileExists in the current one, so it
// is neither read nor written.
bool IsInDataFolder(const NvFsPath& path)
{
    return path != SettingsFileName;
}
} // namespace

CString& GetPstNameSetting()
{
    static CString pstName = LoadSettings();
    return pstName;
}

CString LoadSettings()
{
    NvFsPath path = GetSettingsFilePath();
    if (!IsInDataFolder(path) || !PathFileExistsA(path))
        path = GetExeFolderSettingsFilePath();
    if (!PathFileExistsA(path))
        return CString();
    return ReadSettingsFile(path);
}

CString ReadSettingsFile(LPCSTR path)
{
    CString value;
    LPSTR buffer = value.GetBuffer(256);
    GetPrivateProfileStringA(GeneralSection, PstNameKey, "", buffer, ValueBufferSize, path);
    value.ReleaseBuffer();
    return value;
}

void SavePstNameSetting(LPCSTR name)
{
    NvFsPath path = GetSettingsFilePath();
    if (IsInDataFolder(path))
        WritePrivateProfileStringA(GeneralSection, PstNameKey, name, path);
}

NvFsPath GetSettingsFilePath()
{
    return Combine(GetAppDataFolder(), SettingsFileName);
}

NvFsPath GetExeFolderSettingsFilePath()
{
    return GetParentFolder(GetModuleFilePath()).Append(SettingsFileName);
}
