#pragma once

#include <windows.h>

#include <string>

// Gives the test process a fresh, empty predefined key (HKEY_CURRENT_USER, or
// HKEY_CLASSES_ROOT for the file associations) for its lifetime: a new key
// below the current HKEY_CURRENT_USER is created and the predefined key
// redirected to it. The destructor restores the predefined key and deletes
// the scratch tree. Scratch registries end in the reverse order of their
// creation.
class ScratchRegistry
{
public:
    explicit ScratchRegistry(HKEY redirected = HKEY_CURRENT_USER);
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

    // Path of the scratch key below the real HKEY_CURRENT_USER (when no other
    // scratch registry redirects it).
    const std::string& RealPath() const { return m_path; }

private:
    HKEY m_redirected;
    std::string m_path;
    HKEY m_scratch = nullptr;
};
