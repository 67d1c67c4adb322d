#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include <vector>

// The processes running at one moment, one entry each, in the order the
// system lists them.
class CProcessesEnum : public std::vector<PROCESSENTRY32>
{
public:
    virtual ~CProcessesEnum() = default;

    // Replaces the list with a fresh snapshot of the running processes. The
    // list is left empty when "Kernel32.dll" cannot be loaded, and holds only
    // the first process when it has no "Process32Next". Throws
    // Error::NvExceptionCommon (no source location) when the snapshot cannot
    // be taken or its first entry cannot be read.
    void Enumerate();
};
