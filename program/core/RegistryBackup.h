#pragma once

#include "library/fs/NvFsPathT.h"
#include "program/core/RegistryEditor.h"

#include <string>

// "Registry Backup" in the product folder (relative when there is none),
// created with its parents if missing. Throws Error::NvExceptionCommon
// (string 108) when it cannot be created and the system gives an error code.
NvFsPath GetRegistryBackupFolder();

// Exports the registry key `keyText` (e.g. "HKEY_CURRENT_USER\Software\...")
// with `editor` (RegistryEditor::Export) to a new file "<local time> -
// <profile name made safe>.reg" in the backup folder; the profile part of the
// name is shortened to keep the path within MAX_PATH. Never replaces an
// earlier backup, also one that another copy of the program takes at the
// same time. Returns the file's path and writes one information line to the
// log on success; throws an Error::NvException on any failure (strings 108,
// 109, 110, 111, 123, 124), deletes what the failed export left and logs
// nothing.
NvFsPath CreateRegistryBackup(const RegistryEditor& editor, const std::wstring& keyText,
                              const std::wstring& profileName);

// CreateRegistryBackup with the system's registry editor; string 105 when the
// Windows folder cannot be had.
NvFsPath CreateRegistryBackup(const std::wstring& keyText, const std::wstring& profileName);

// The backup step of a repair and of a restore: CreateRegistryBackup with
// `editor` (the system's when null), its failure logged ("Nie można utworzyć
// backupu dla profilu ...") and given back instead of thrown. The backup's
// path; empty on failure, its text as the user sees it then in `error`.
NvFsPath BackUpProfile(const RegistryEditor* editor, const std::wstring& keyText, const std::wstring& profileName,
                       std::wstring& error);

// A copy of `text` in which every byte that cannot stand in a file name (the
// characters \ / : * ? " < > |, control characters and every byte of 0x80 or
// above) is `replacement`.
CString ReplaceInvalidFileNameChars(const CString& text, char replacement);
// The same for a name as Windows stores it: the bytes of its ANSI form when
// it has an exact one, so that such a name gives the file name it always
// gave; else one `replacement` for each character beyond ASCII.
CString ReplaceInvalidFileNameChars(const std::wstring& text, char replacement);
