// Stands in for an outside program in the tests: a running Outlook, or the
// registry editor called as "program /e FILE KEY". Its environment says what
// it does, in this order:
//   STAND_IN_SLEEP_MS   waits this many milliseconds (unless killed first)
//   STAND_IN_WRITE      "commandline" writes its own command line to FILE,
//                       "empty" creates FILE empty
//   STAND_IN_EXIT_CODE  ends with this code (0 when not set)
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

namespace
{
DWORD ReadNumber(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::strtoul(value, nullptr, 10) : 0;
}
} // namespace

int main(int argc, char** argv)
{
    Sleep(ReadNumber("STAND_IN_SLEEP_MS"));

    const char* write = std::getenv("STAND_IN_WRITE");
    if (write != nullptr && argc >= 3)
    {
        std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
        if (std::strcmp(write, "commandline") == 0)
            file << GetCommandLineA();
    }
    return static_cast<int>(ReadNumber("STAND_IN_EXIT_CODE"));
}
