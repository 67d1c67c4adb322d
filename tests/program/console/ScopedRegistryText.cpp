#include "tests/program/console/ScopedRegistryText.h"

#include <stdexcept>

ScopedRegistryText::ScopedRegistryText(const std::string& keyPath, const std::string& valueName,
                                       const std::string& text)
    : m_keyPath(keyPath), m_valueName(valueName)
{
    char buffer[4096];
    DWORD size = sizeof(buffer);
    if (RegGetValueA(HKEY_CURRENT_USER, keyPath.c_str(), valueName.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &m_type, buffer,
                     &size) == ERROR_SUCCESS)
    {
        m_existed = true;
        m_bytes.assign(buffer, size);
    }
    if (RegSetKeyValueA(HKEY_CURRENT_USER, keyPath.c_str(), valueName.c_str(), REG_SZ, text.c_str(),
                        static_cast<DWORD>(text.size() + 1)) != ERROR_SUCCESS)
        throw std::runtime_error("cannot set " + keyPath + "\\" + valueName);
}

ScopedRegistryText::~ScopedRegistryText()
{
    if (m_existed)
        RegSetKeyValueA(HKEY_CURRENT_USER, m_keyPath.c_str(), m_valueName.c_str(), m_type, m_bytes.data(),
                        static_cast<DWORD>(m_bytes.size()));
    else
        RegDeleteKeyValueA(HKEY_CURRENT_USER, m_keyPath.c_str(), m_valueName.c_str());
}
