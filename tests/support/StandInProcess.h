#pragma once

#include "library/base/UniqueHandle.h"
#include "tests/support/TempFolder.h"

#include <string>

// Full path of the stand-in program (tests/helpers/StandIn.cpp) beside the
// test executable.
std::string StandInProgramPath();

// The stand-in program copied under `fileName` into a temporary folder and
// started, sleeping for at most a minute. The destructor kills it, waits
// until it has ended and deletes the copy.
class StandInProcess
{
public:
    explicit StandInProcess(const std::string& fileName);
    ~StandInProcess();
    StandInProcess(const StandInProcess&) = delete;
    StandInProcess& operator=(const StandInProcess&) = delete;

    DWORD Id() const { return m_id; }

private:
    TempFolder m_folder;
    UniqueKernelHandle m_process;
    DWORD m_id = 0;
};
