#include "tests/support/TemporaryKey.h"

#include <windows.h>

namespace
{
bool KeyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}
} // namespace

TemporaryKey::TemporaryKey(const std::string& path) : m_outermost(path)
{
    for (size_t cut = path.find('\\'); cut != std::string::npos; cut = path.find('\\', cut + 1))
    {
        if (!KeyExists(path.substr(0, cut)))
        {
            m_outermost = path.substr(0, cut);
            break;
        }
    }
}

TemporaryKey::~TemporaryKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, m_outermost.c_str());
}
