// What the tests' links open: adds a line with its process id to
// "opened.txt" beside itself and exits.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    char* name = std::strrchr(path, '\\');
    if (name == nullptr || name + sizeof("opened.txt") > path + MAX_PATH)
        return 1;
    lstrcpyA(name + 1, "opened.txt");

    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    char line[32];
    int size = wsprintfA(line, "%lu\r\n", GetCurrentProcessId());
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
    return 0;
}
