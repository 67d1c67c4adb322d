#pragma once

#include <windows.h>

#include <string>

// Runs `commandLine` in a console of its own with the caller's start-up
// information, inheritable handles and environment, and waits up to
// `timeoutMs`. With `variable` ("NAME=VALUE") the program gets that variable
// in place of the caller's of that name. ERROR_SUCCESS with the program's
// exit code in `exitCode`; the system's code when it cannot be started;
// WAIT_TIMEOUT when it was still running and was ended with exit code
// `terminatedExitCode`. `exitCode` is unchanged on failure.
DWORD RunAndWait(std::wstring commandLine, DWORD timeoutMs, DWORD terminatedExitCode, DWORD& exitCode,
                 const wchar_t* variable = nullptr);
