#pragma once

#include "library/framework/UniqueHandle.h"

// Holds "Kernel32.dll" while the process list is read, so that the functions
// looked up in it stay valid, and frees it on every way out.
class CToolHelp32Wrapper
{
public:
    CToolHelp32Wrapper() = default;
    CToolHelp32Wrapper(const CToolHelp32Wrapper&) = delete;
    CToolHelp32Wrapper& operator=(const CToolHelp32Wrapper&) = delete;
    virtual ~CToolHelp32Wrapper() = default;

    // Loads "Kernel32.dll"; false when it cannot be loaded.
    bool Load();

    // The named export of the loaded module as a `Function` pointer, or null.
    template <typename Function> Function GetProc(LPCSTR name) const
    {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_hModule.Get(), name)));
    }

private:
    UniqueModule m_hModule;
};
