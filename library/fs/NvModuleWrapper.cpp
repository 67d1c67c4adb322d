#include "library/fs/NvModuleWrapper.h"

bool NvModuleWrapper::Load(LPCSTR name)
{
    m_hModule.Reset(LoadLibraryA(name));
    return m_hModule.IsValid();
}
