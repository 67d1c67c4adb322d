#pragma once

#include "library/framework/UniqueHandle.h"

// Holds a library loaded by name while functions looked up in it are used,
// and frees it on every way out, exceptions included: optional system
// functions are found at run time rather than imported.
class NvModuleWrapper
{
public:
    NvModuleWrapper() = default;
    NvModuleWrapper(const NvModuleWrapper&) = delete;
    NvModuleWrapper& operator=(const NvModuleWrapper&) = delete;

    // Loads library `name`; false when it cannot be loaded.
    bool Load(LPCSTR name);

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
