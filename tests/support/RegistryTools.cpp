#include "tests/support/RegistryTools.h"

#include "library/base/UniqueHandle.h"
#include "tests/support/TempFolder.h"

#include <stdexcept>
#include <vector>

namespace
{
HKEY Create(const std::string& path)
{
    HKEY key = nullptr;
    LONG result =
        RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS)
        throw std::runtime_error("creating " + path + " failed with " + std::to_string(result));
    return key;
}
} // namespace

void CreateKey(const std::string& path)
{
    RegCloseKey(Create(path));
}

void SetValue(const std::string& path, const std::string& valueName, DWORD type, const std::string& bytes)
{
    HKEY key = Create(path);
    LONG result = RegSetValueExA(key, valueName.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        throw std::runtime_error("setting " + path + "\\" + valueName + " failed with " + std::to_string(result));
}

void SetText(const std::string& path, const std::string& valueName, const std::string& text)
{
    SetValue(path, valueName, REG_SZ, text + '\0');
}

std::string DumpTree(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "missing " + path + "\n";
    std::string dump = "[" + path + "]\n";
    // Read wide, so that text values show their stored bytes; a value of any
    // size is shown whole.
    wchar_t valueName[16384];
    std::vector<BYTE> data(1024);
    for (DWORD i = 0;; ++i)
    {
        DWORD nameLength = 16384;
        DWORD dataLength = static_cast<DWORD>(data.size());
        DWORD type = 0;
        LONG result = RegEnumValueW(key, i, valueName, &nameLength, nullptr, &type, data.data(), &dataLength);
        if (result == ERROR_MORE_DATA)
        {
            data.resize(dataLength);
            --i;
            continue;
        }
        if (result != ERROR_SUCCESS)
            break;
        int length =
            WideCharToMultiByte(CP_ACP, 0, valueName, static_cast<int>(nameLength), nullptr, 0, nullptr, nullptr);
        std::string narrow(static_cast<size_t>(length), '\0');
        WideCharToMultiByte(CP_ACP, 0, valueName, static_cast<int>(nameLength), &narrow[0], length, nullptr, nullptr);
        dump += narrow + " " + std::to_string(type) + ":";
        for (DWORD b = 0; b < dataLength; ++b)
            dump += " " + std::to_string(data[b]);
        dump += "\n";
    }
    char name[256];
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

std::string ReadRegistryScript(const std::string& path)
{
    std::string bytes = ReadFileBytes(path);
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xff\xfe") != 0)
        return std::string();
    std::wstring wide(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &text[0], length, nullptr, nullptr);
    return text;
}

std::string RegistryScriptBytes(const std::wstring& text)
{
    return "\xff\xfe" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

std::string RegeditPath()
{
    char folder[MAX_PATH] = {};
    GetSystemWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\REGEDIT.EXE";
}

DWORD RunToEnd(std::string commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return GetLastError();
    UniqueKernelHandle thread(started.hThread);
    UniqueKernelHandle process(started.hProcess);
    WaitForSingleObject(process.Get(), 30000);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.Get(), &exitCode);
    return exitCode;
}
