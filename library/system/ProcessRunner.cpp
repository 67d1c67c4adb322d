#include "library/system/ProcessRunner.h"

#include "library/base/UniqueHandle.h"

#include <string>

namespace
{
struct EnvironmentTraits
{
    using Handle = LPWCH;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { FreeEnvironmentStringsW(handle); }
};

// The caller's environment block with `variable` put in place of the entry
// of its name. Wide, so that values in characters outside the ANSI code page
// (a user's folder, say) reach the program unchanged.
std::wstring EnvironmentWith(const wchar_t* variable)
{
    std::wstring added = variable;
    std::wstring prefix = added.substr(0, added.find(L'=') + 1);

    std::wstring block;
    UniqueHandle<EnvironmentTraits> strings(GetEnvironmentStringsW());
    for (LPCWSTR entry = strings.Get(); entry != nullptr && *entry != L'\0'; entry += wcslen(entry) + 1)
    {
        bool replaced = wcslen(entry) >= prefix.size() &&
                        CompareStringOrdinal(entry, static_cast<int>(prefix.size()), prefix.data(),
                                             static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
        if (!replaced)
            block.append(entry).push_back(L'\0');
    }
    block.append(added).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}
} // namespace

DWORD RunAndWait(std::wstring commandLine, DWORD timeoutMs, DWORD terminatedExitCode, DWORD& exitCode,
                 const wchar_t* variable)
{
    STARTUPINFOW startup = {};
    GetStartupInfoW(&startup);
    std::wstring environment;
    DWORD flags = CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS;
    if (variable != nullptr)
    {
        environment = EnvironmentWith(variable);
        flags |= CREATE_UNICODE_ENVIRONMENT;
    }
    PROCESS_INFORMATION started = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, flags,
                        environment.empty() ? nullptr : &environment[0], nullptr, &startup, &started))
        return GetLastError();
    UniqueKernelHandle thread(started.hThread);
    UniqueKernelHandle process(started.hProcess);

    if (WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0)
    {
        TerminateProcess(process.Get(), terminatedExitCode);
        return WAIT_TIMEOUT;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    exitCode = code;
    return ERROR_SUCCESS;
}
