#pragma once

#include <windows.h>

#include <string>

// Sets a text value of the real HKEY_CURRENT_USER for its lifetime, then
// puts back the value that was there (type and bytes), or removes it.
class ScopedRegistryText
{
public:
    ScopedRegistryText(const std::string& keyPath, const std::string& valueName, const std::string& text);
    ~ScopedRegistryText();
    ScopedRegistryText(const ScopedRegistryText&) = delete;
    ScopedRegistryText& operator=(const ScopedRegistryText&) = delete;

private:
    std::string m_keyPath;
    std::string m_valueName;
    bool m_existed = false;
    DWORD m_type = REG_NONE;
    std::string m_bytes;
};
