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

// Full path of the file `name` in the tests' own folder, tests-bin/.
std::string TestBinPath(const std::string& name);
// Full path of the program file `name` of the build: bin/ beside tests-bin/.
std::string ProgramPath(const std::string& name);
// ProgramPath("straysweep.exe").
std::string StraysweepPath();

// Runs straysweep.exe with `arguments` (quoted so that CommandLineToArgvW
// gives them back unchanged) through CreateProcessW, its standard output and
// error read from pipes. A run that does not end within a minute fails the
// test and is ended with exit code 999.
StraysweepRun RunStraysweep(const std::vector<std::wstring>& arguments);
// The same for the program at `program` (a copy of straysweep.exe elsewhere).
StraysweepRun RunStraysweep(const std::string& program, const std::vector<std::wstring>& arguments);

// ANSI-code-page text (the tests' narrow literals) as UTF-16.
std::wstring Wide(const std::string& ansi);
// UTF-16 in the ANSI code page.
std::string Ansi(const std::wstring& wide);
