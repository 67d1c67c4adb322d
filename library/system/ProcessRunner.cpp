#include "library/system/ProcessRunner.h"

#include "library/framework/UniqueHandle.h"

DWORD RunAndWait(CString commandLine, DWORD timeoutMs, DWORD terminatedExitCode, DWORD& exitCode)
{
    STARTUPINFOA startup = {};
    GetStartupInfoA(&startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, commandLine.GetBuffer(0), nullptr, nullptr, TRUE,
                        CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &started))
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
