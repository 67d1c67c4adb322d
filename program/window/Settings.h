#pragma once

#include "library/fs/NvFsPathT.h"

// The remembered PST display name: loaded from Settings.ini on the first
// call, kept until process exit; the caller may assign it.
CString& GetPstNameSetting();

// The first-call loader: "PstName" of the data folder's Settings.ini, or of
// the one beside the executable when the data folder has none; empty when
// neither exists.
CString LoadSettings();

// "PstName" of section "General" of the file at `path`, at most 254
// characters; empty when the file or the key is missing.
CString ReadSettingsFile(LPCSTR path);

// Writes `name` as "PstName" of section "General" to the data folder's
// Settings.ini, creating file and section when missing. Reports nothing;
// without a data folder nothing is written.
void SavePstNameSetting(LPCSTR name);

// The data folder's Settings.ini; the bare name "Settings.ini" when there is
// no data folder.
NvFsPath GetSettingsFilePath();

// Settings.ini beside the executable: read only, when the data folder has no
// such file.
NvFsPath GetExeFolderSettingsFilePath();
