#include "tests/support/ScratchRegistry.h"

#include <stdexcept>

ScratchRegistry::ScratchRegistry(HKEY redirected) : m_redirected(redirected)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    m_path = "Software\\StraysweepTests\\" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(now.QuadPart);
    if (RegCreateKeyExA(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_scratch,
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the scratch registry key");
    if (RegOverridePredefKey(m_redirected, m_scratch) != ERROR_SUCCESS)
        throw std::runtime_error("cannot redirect the predefined key");
}

ScratchRegistry::~ScratchRegistry()
{
    RegOverridePredefKey(m_redirected, nullptr);
    RegCloseKey(m_scratch);
    RegDeleteTreeA(HKEY_CURRENT_USER, m_path.c_str());
}
