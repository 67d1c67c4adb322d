#include "library/system/CProcessesEnum.h"

#include "library/error/NvExceptionCommon.h"
#include "library/base/NvModuleWrapper.h"

namespace
{
using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, LPPROCESSENTRY32);
} // namespace

void CProcessesEnum::Enumerate()
{
    clear();
    NvModuleWrapper toolHelp;
    if (!toolHelp.Load(L"kernel32.dll"))
        return;

    PROCESSENTRY32 entry = {};
    auto createSnapshot = toolHelp.GetProc<CreateSnapshotFn>("CreateToolhelp32Snapshot");
    HANDLE handle = createSnapshot != nullptr ? createSnapshot(TH32CS_SNAPPROCESS, 0) : nullptr;
    if (handle == INVALID_HANDLE_VALUE)
        throw Error::NvExceptionCommon(GetLastError(), "CreateToolhelp32Snapshot (of processes)", nullptr, 0);
    UniqueKernelHandle snapshot(handle);

    // The structure's size differs between the 32-bit and the 64-bit build.
    entry.dwSize = sizeof(PROCESSENTRY32);
    auto first = toolHelp.GetProc<ProcessWalkFn>("Process32First");
    if (first == nullptr || !first(snapshot.Get(), &entry))
        throw Error::NvExceptionCommon(GetLastError(), "Process32First failed.", nullptr, 0);

    for (;;)
    {
        push_back(entry);
        auto next = toolHelp.GetProc<ProcessWalkFn>("Process32Next");
        if (next == nullptr || !next(snapshot.Get(), &entry))
            break;
    }
}
