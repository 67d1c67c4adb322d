// A library that a program must never run: put beside a copy of a program
// under the name of a system library, it ends the process with exit code
// 0x5EED the moment it is loaded to run. It exports, as one stub, every
// function that the programs take from such libraries, so that a program
// importing them resolves its imports against it rather than failing to
// start for another reason.
#include <windows.h>

extern "C" void PlantedStub()
{
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        ExitProcess(0x5EED);
    return TRUE;
}
