#pragma once

#include <windows.h>

#include <string>

// Gives the test process a fresh, empty HKEY_CURRENT_USER for its lifetime:
// a new key below the real one is created and HKEY_CURRENT_USER redirected to
// it. The destructor restores HKEY_CURRENT_USER and deletes the scratch tree.
class ScratchRegistry
{
public:
    ScratchRegistry();
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    // Path of the scratch key below the real HKEY_CURRENT_USER.
    const std::string& RealPath() const { return m_path; }

private:
    std::string m_path;
    HKEY m_scratch = nullptr;
};
