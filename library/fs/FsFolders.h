#pragma once

#include "library/fs/NvFsPathT.h"

#include <string>

// The user's roaming application-data folder (created by the shell if
// missing), or an empty path when the shell cannot give it.
NvFsPath GetAppDataPath();

// The folder `name` in the user's roaming application-data folder, existing
// on return, or an empty path.
NvFsPath GetAppDataSubfolder(LPCSTR name);

// Full file path of a loaded module; null means the executable.
NvFsPath GetModuleFilePath(HMODULE module = nullptr);

// The path cut after its last "\" (or, without one, its last "/"), the
// separator kept. Unchanged when there is no separator or it is the first
// character.
NvFsPath GetParentFolder(const NvFsPath& path);

// True when a file or folder of that name exists (one trailing "\" ignored).
bool PathExists(const NvFsPath& path);

// True when `path` is a file, not a folder.
bool IsExistingFile(const std::wstring& path);

// True when `path` is a file (not a folder) holding at least one byte.
bool IsNonEmptyFile(const NvFsPath& path);

// Reads the whole file at `path` into `bytes`: ERROR_SUCCESS, or the system's
// code (ERROR_FILE_TOO_LARGE for 2 GiB or more), `bytes` then unchanged.
DWORD ReadWholeFile(const NvFsPath& path, std::string& bytes);
