#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What one run of the command line program gave.
struct StraysweepRun
{
    DWORD exitCode = 0;
    // Standard output and standard error, bytes as written.
    std::string out;
    std::string err;
};

// Full path of straysweep.exe: bin/ beside the tests' tests-bin/.
std::string StraysweepPath();

// Runs straysweep.exe with `arguments` (quoted so that CommandLineToArgvW
// gives them back unchanged) through CreateProcessW, its standard output and
// error read from pipes. A run that does not end within a minute fails the
// test and is ended with exit code 999.
StraysweepRun RunStraysweep(const std::vector<std::wstring>& arguments);

// ANSI-code-page text (the tests' narrow literals) as UTF-16.
std::wstring Wide(const std::string& ansi);
// UTF-16 in the ANSI code page.
std::string Ansi(const std::wstring& wide);
