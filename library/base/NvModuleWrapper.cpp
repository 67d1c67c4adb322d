#include "library/base/NvModuleWrapper.h"

// Windows looks for a library that is not one of its known DLLs in the
// program's folder first (and, for some searches, in the current folder): a
// library of that name planted there would run with the program's rights.
void NvModuleWrapper::SearchSystemFolderOnly()
{
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

bool NvModuleWrapper::Load(LPCWSTR name)
{
    m_hModule.Reset(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    return m_hModule.IsValid();
}
