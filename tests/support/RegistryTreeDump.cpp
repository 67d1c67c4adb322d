#include "tests/support/RegistryTreeDump.h"

#include <windows.h>

#include <vector>

std::string DumpTree(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "missing " + path + "\n";
    std::string dump = "[" + path + "]\n";
    char name[256];
    BYTE data[1024];
    for (DWORD i = 0;; ++i)
    {
        DWORD nameLength = sizeof(name);
        DWORD dataLength = sizeof(data);
        DWORD type = 0;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS)
            break;
        dump += std::string(name) + " " + std::to_string(type) + ":";
        for (DWORD b = 0; b < dataLength; ++b)
            dump += " " + std::to_string(data[b]);
        dump += "\n";
    }
    std::vector<std::string> subkeys;
    for (DWORD i = 0;; ++i)
    {
        DWORD nameLength = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.push_back(name);
    }
    RegCloseKey(key);
    for (const std::string& subkey : subkeys)
        dump += DumpTree(path + "\\" + subkey);
    return dump;
}
