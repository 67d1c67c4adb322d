#pragma once

#include "library/fs/NvFsPathT.h"

// "Registry Backup" in the product folder (relative when there is none),
// created with its parents if missing. Throws Error::NvExceptionCommon
// (string 108) when it cannot be created and the system gives an error code.
NvFsPath GetRegistryBackupFolder();

// Exports the registry key `keyText` (e.g. "HKEY_CURRENT_USER\Software\...")
// with REGEDIT.EXE of the Windows folder, run with the caller's rights, to a
// new file "<local time> - <profile name made safe>.reg" in the backup
// folder, waiting up to one hour; the profile part of the name is shortened
// to keep the path within MAX_PATH. Never replaces an earlier backup, also
// one that another copy of the program takes at the same time. Counts as
// made only when the editor ends with 0 and the file is a complete export of
// exactly that key. Returns the file's path and writes one information line
// to the log on success; throws an Error::NvException on any failure
// (strings 105, 108, 109, 110, 111, 123, 124), deletes what the failed
// export left and logs nothing.
NvFsPath CreateRegistryBackup(LPCSTR keyText, LPCSTR profileName);

// A copy of `text` in which every byte that cannot stand in a file name (the
// characters \ / : * ? " < > |, control characters and every byte of 0x80 or
// above) is `replacement`.
CString ReplaceInvalidFileNameChars(const CString& text, char replacement);

namespace RegistryBackupDetail
{
// CreateRegistryBackup with the exporting program and the longest wait (in
// milliseconds) given; the product always uses REGEDIT.EXE and one hour.
NvFsPath CreateRegistryBackup(const NvFsPath& editorPath, DWORD timeoutMs, LPCSTR keyText, LPCSTR profileName);
} // namespace RegistryBackupDetail
