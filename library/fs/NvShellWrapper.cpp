#include "library/fs/NvShellWrapper.h"

bool NvShellWrapper::Load()
{
    m_hModule.Reset(LoadLibraryA("SHFolder.dll"));
    return m_hModule.IsValid();
}

FARPROC NvShellWrapper::GetProc(LPCSTR name) const
{
    return m_hModule ? GetProcAddress(m_hModule.Get(), name) : nullptr;
}
