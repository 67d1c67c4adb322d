#pragma once

#include "library/framework/UniqueHandle.h"

// Holds the shell-folder library for one folder lookup and frees it on every
// way out, exceptions included.
class NvShellWrapper
{
public:
    NvShellWrapper() = default;
    NvShellWrapper(const NvShellWrapper&) = delete;
    NvShellWrapper& operator=(const NvShellWrapper&) = delete;
    virtual ~NvShellWrapper() = default;

    // Loads "SHFolder.dll"; false when it cannot be loaded.
    bool Load();
    // The named export of the loaded library, or null.
    FARPROC GetProc(LPCSTR name) const;

private:
    UniqueModule m_hModule;
};
