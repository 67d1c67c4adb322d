#include "tests/support/StandInProcess.h"

#include "tests/support/ScopedEnvironment.h"

#include <stdexcept>

std::string StandInProgramPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1) + "stand_in.exe";
}

StandInProcess::StandInProcess(const std::string& fileName)
{
    std::string path = m_folder / fileName;
    if (!CopyFileA(StandInProgramPath().c_str(), path.c_str(), TRUE))
        throw std::runtime_error("cannot copy the stand-in program");
    ScopedEnvironment sleep("STAND_IN_SLEEP_MS", "60000");
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    std::string commandLine = "\"" + path + "\"";
    if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        throw std::runtime_error("cannot start the stand-in program");
    UniqueKernelHandle thread(started.hThread);
    m_process.Reset(started.hProcess);
    m_id = started.dwProcessId;
}

StandInProcess::~StandInProcess()
{
    TerminateProcess(m_process.Get(), 0);
    // The copy can only be deleted once the process is gone.
    WaitForSingleObject(m_process.Get(), INFINITE);
}
