#pragma once

#include <windows.h>

#include <string>

// Creates the key `path` below HKEY_CURRENT_USER, with its parents; throws
// std::runtime_error when it cannot.
void CreateKey(const std::string& path);
// Sets a value of any type with raw bytes in the key `path` below
// HKEY_CURRENT_USER, created if missing; throws std::runtime_error when it
// cannot.
void SetValue(const std::string& path, const std::string& valueName, DWORD type, const std::string& bytes);
// Sets a REG_SZ value.
void SetText(const std::string& path, const std::string& valueName, const std::string& text);

// Every key, value type and value byte below `path` of HKEY_CURRENT_USER, in
// enumeration order, one line each; "missing PATH" when it does not open.
std::string DumpTree(const std::string& path);

// A .reg file of the registry editor (UTF-16 with byte order mark) as text
// in the ANSI code page; empty when it is not one.
std::string ReadRegistryScript(const std::string& path);
// The bytes of a .reg file of the registry editor holding `text`: the byte
// order mark, then the text in UTF-16LE.
std::string RegistryScriptBytes(const std::wstring& text);

// REGEDIT.EXE of the Windows folder.
std::string RegeditPath();

// Runs a command line to its end (at most 30 seconds); its exit code, or the
// error code when it cannot start.
DWORD RunToEnd(std::string commandLine);
