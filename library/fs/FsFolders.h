#pragma once

#include "library/fs/NvFsPathT.h"

// The product's name, which is also its folder's name in the user's
// application-data folder.
extern const char* const ProductName;

// The user's roaming application-data folder (created by the shell if
// missing), or an empty path when the shell cannot give it.
NvFsPath GetAppDataPath();

// The product folder, existing on return, or an empty path.
NvFsPath GetAppDataFolder();

// Full file path of a loaded module; null means the executable.
NvFsPath GetModuleFilePath(HMODULE module = nullptr);

// The path cut after its last "\" (or, without one, its last "/"), the
// separator kept. Unchanged when there is no separator or it is the first
// character.
NvFsPath GetParentFolder(const NvFsPath& path);

// True when a file or folder of that name exists (one trailing "\" ignored).
bool PathExists(const NvFsPath& path);
