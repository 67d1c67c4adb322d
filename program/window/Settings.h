#pragma once

#include "library/fs/NvFsPathT.h"

#include <string>

// The remembered PST display name: loaded from Settings.ini on the first
// call, kept until process exit; the caller may assign it.
std::wstring& GetPstNameSetting();

// The first-call loader: "PstName" of the data folder's Settings.ini, or of
// the one beside the executable when the data folder has none; empty when
// neither exists.
std::wstring LoadSettings();

// "PstName" of section "General" of the file at `path`, at most 254
// characters, from a file in the ANSI code page or in UTF-16LE with a
// byte-order mark; empty when the file or the key is missing.
std::wstring ReadSettingsFile(LPCSTR path);

// Writes `name` as "PstName" of section "General" to the data folder's
// Settings.ini, creating file and section when missing. A name that the ANSI
// code page cannot hold exactly first turns the file into UTF-16LE with a
// byte-order mark, its other lines kept; should that fail, the file stays as
// it was. Reports nothing; without a data folder nothing is written.
void SavePstNameSetting(const std::wstring& name);

// The data folder's Settings.ini; the bare name "Settings.ini" when there is
// no data folder.
NvFsPath GetSettingsFilePath();

// Settings.ini beside the executable: read only, when the data folder has no
// such file.
NvFsPath GetExeFolderSettingsFilePath();
