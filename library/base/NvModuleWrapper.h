#pragma once

#include "library/base/UniqueHandle.h"

// Holds a library of the system folder while functions looked up in it are
// used, and frees it on every way out, exceptions included: system functions
// that are optional, or that a program must not import, are found at run
// time.
class NvModuleWrapper
{
public:
    NvModuleWrapper() = default;
    NvModuleWrapper(const NvModuleWrapper&) = delete;
    NvModuleWrapper& operator=(const NvModuleWrapper&) = delete;

    // From now on the process takes libraries loaded by name, and their
    // dependencies, from the system folder only. The first step of a program.
    static void SearchSystemFolderOnly();

    // Loads library `name` from the system folder, never from the program's
    // or the current folder; false when it cannot be loaded there.
    bool Load(LPCWSTR name);

    // The named export of the loaded library as a `Function` pointer; null when
    // nothing is loaded or the library has no such export.
    template <typename Function> Function GetProc(LPCSTR name) const
    {
        if (!m_hModule)
            return nullptr;
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_hModule.Get(), name)));
    }

private:
    UniqueModule m_hModule;
};
