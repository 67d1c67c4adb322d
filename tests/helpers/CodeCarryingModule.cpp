// The Polish language module's resources in a module that also carries code:
// if it were ever loaded to run, its entry point would leave its mark in the
// process environment.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        SetEnvironmentVariableA("STRAYSWEEP_MODULE_CODE_RAN", "1");
    return TRUE;
}
