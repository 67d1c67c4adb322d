// Stands in for an outside program in the tests: a running Outlook, or the
// registry editor called as "program /e FILE KEY" or "program /s FILE". Its
// environment says what it does, in this order:
//   STAND_IN_RECORD     appends its command line and then its environment,
//                       one line each, to the file of that path
//   STAND_IN_SLEEP_MS   waits this many milliseconds (unless killed first)
//   STAND_IN_WRITE      what it writes to FILE of /e (it reads nothing for
//                       /s): "commandline" its own command line, "empty"
//                       nothing, "export" a complete export of KEY, "cut"
//                       that export cut in the middle of a value, "outside"
//                       that export and a key beside KEY
//   STAND_IN_EXIT_CODE  ends with this code (0 when not set)
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace
{
DWORD ReadNumber(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::strtoul(value, nullptr, 10) : 0;
}

// `text` in UTF-16LE, as the registry editor writes its exports.
std::string Utf16(const std::string& text)
{
    std::wstring wide(
        static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0)),
        L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], static_cast<int>(wide.size()));
    return std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
}

std::string Export(const std::string& key, const std::string& how)
{
    std::string text =
        "Windows Registry Editor Version 5.00\r\n\r\n[" + key + "]\r\n\r\n[" + key +
        "\\0a0d020000000000c000000000000046]\r\n\"001e3001\"=hex:50,65,72,73,\\\r\n  6f,6e,61,6c\r\n\r\n";
    if (how == "cut")
        text = text.substr(0, text.find("  6f"));
    else if (how == "outside")
        text += "[" + key + " 2]\r\n\r\n";
    return "\xFF\xFE" + Utf16(text);
}
} // namespace

int main(int argc, char** argv)
{
    const char* record = std::getenv("STAND_IN_RECORD");
    if (record != nullptr)
    {
        std::ofstream file(record, std::ios::binary | std::ios::app);
        file << GetCommandLineA() << "\n";
        LPCH strings = GetEnvironmentStringsA();
        for (LPCSTR entry = strings; *entry != '\0'; entry += std::strlen(entry) + 1)
            file << entry << "\n";
        FreeEnvironmentStringsA(strings);
    }

    Sleep(ReadNumber("STAND_IN_SLEEP_MS"));

    const char* write = std::getenv("STAND_IN_WRITE");
    if (write != nullptr && argc >= 3 && std::strcmp(argv[1], "/e") == 0)
    {
        std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
        if (std::strcmp(write, "commandline") == 0)
            file << GetCommandLineA();
        else if (std::strcmp(write, "empty") != 0 && argc >= 4)
            file << Export(argv[3], write);
    }
    return static_cast<int>(ReadNumber("STAND_IN_EXIT_CODE"));
}
