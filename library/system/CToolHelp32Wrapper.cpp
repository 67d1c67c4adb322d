#include "library/system/CToolHelp32Wrapper.h"

bool CToolHelp32Wrapper::Load()
{
    m_hModule.Reset(LoadLibraryA("Kernel32.dll"));
    return m_hModule.IsValid();
}
