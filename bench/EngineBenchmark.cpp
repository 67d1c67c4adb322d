// Times the engine's check and removal runs on seeded profiles of growing
// size, beside the export of the same profile key by the system's registry
// editor (the backup that precedes every removal).
#include "library/framework/UniqueHandle.h"
#include "program/core/CLogFile.h"
#include "program/core/GhostPstRemover.h"
#include "tests/support/ProfileTreeBuilder.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TempFolder.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <vector>

namespace
{
const char* const ProfileName = "Benchmark";
const char* const Pst = "Archiwum";

std::string Identifier(int kind, int index)
{
    char hex[33];
    wsprintfA(hex, "%08x%024x", kind, index);
    return hex;
}

// A hundredth of the sections are accounts' service and store sections, a
// tenth carry the PST's name; a fifth of those, the ghosts, are tied to
// nothing. Returns the number of ghosts.
int Seed(ProfileTreeBuilder& profile, int sections)
{
    int accounts = std::max(1, sections / 200);
    int candidates = sections / 10;
    int ghosts = candidates / 5;
    profile.AddAccountsKey();
    for (int i = 0; i < accounts; ++i)
    {
        profile.AddAccount(Identifier(0, i).substr(24), "Konto", Identifier(1, i));
        profile.AddService(Identifier(1, i), Identifier(2, i));
        profile.AddSection(Identifier(2, i), SectionValues().WideDisplayName(Pst).NarrowDisplayName(Pst));
    }
    for (int i = 0; i < candidates; ++i)
    {
        SectionValues values = SectionValues().WideDisplayName(Pst).NarrowDisplayName(Pst).NarrowProvider("mspst.dll");
        values.Reference1(i < ghosts ? Identifier(4, i) : Identifier(2, i % accounts));
        profile.AddSection(Identifier(3, i), values);
    }
    for (int i = 2 * accounts + candidates; i < sections; ++i)
    {
        profile.AddSection(Identifier(5, i), SectionValues()
                                                 .WideDisplayName("Inny " + std::to_string(i))
                                                 .NarrowProvider("emsmdb32.dll")
                                                 .Reference1(Identifier(6, i)));
    }
    return ghosts;
}

double Milliseconds(const std::function<void()>& work)
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

ULONGLONG FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Regedit sees the real HKEY_CURRENT_USER, not this process's redirected one:
// it is given the key's real path. It exits 0 even when it fails, so the file
// is what tells.
void Export(const std::string& key, const std::string& file)
{
    DeleteFileA(file.c_str());
    char windows[MAX_PATH] = {};
    GetSystemWindowsDirectoryA(windows, MAX_PATH);
    std::string command = "\"" + std::string(windows) + "\\regedit.exe\" /e \"" + file + "\" \"" + key + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("cannot start regedit");
    UniqueKernelHandle processHandle(process.hProcess);
    UniqueKernelHandle threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    if (FileSize(file) == 0)
        throw std::runtime_error("regedit wrote nothing for " + key);
}

double PeakWorkingSetMiB()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

void Expect(bool condition, const char* what)
{
    if (!condition)
        throw std::runtime_error(what);
}

// One round on a fresh profile: the times of the three operations and the log
// bytes of both engine runs.
struct Round
{
    double check = 0;
    double removal = 0;
    double exported = 0;
    ULONGLONG logBytes = 0;
};

Round RunRound(int sections, const std::string& logPath, const std::string& file)
{
    ScratchRegistry registry;
    ProfileTreeBuilder profile(ProfileName);
    int ghosts = Seed(profile, sections);
    Expect(static_cast<int>(profile.Sections().size()) == sections + 1, "seeding");

    Round round;
    ULONGLONG logBefore = FileSize(logPath);
    int checkResult = -1;
    round.check = Milliseconds([&] { checkResult = GhostPstRemover(ProfileName, Pst, true).Run(); });
    Expect(checkResult == 1, "check result");

    round.exported =
        Milliseconds([&] { Export("HKEY_CURRENT_USER\\" + registry.RealPath() + "\\" + profile.ProfilePath(), file); });
    // Every section's key line alone takes more than this in UTF-16.
    Expect(FileSize(file) > static_cast<ULONGLONG>(sections) * 200, "export size");

    int removalResult = -1;
    round.removal = Milliseconds([&] { removalResult = GhostPstRemover(ProfileName, Pst, false).Run(); });
    Expect(removalResult == 1, "removal result");
    Expect(static_cast<int>(profile.Sections().size()) == sections + 1 - ghosts, "deletions");
    round.logBytes = FileSize(logPath) - logBefore;
    return round;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

// Each size runs three rounds and shows the median of each time: the machine
// the tests run on is shared and single runs vary widely.
int main()
{
    const int Rounds = 3;
    try
    {
        // The log's path comes from the real HKEY_CURRENT_USER.
        CLogFile::Instance().OpenWithSizeLimit();
        std::string logPath = CLogFile::Instance().GetFilePath().Str();
        TempFolder exports;

        std::printf(
            "| sections | check ms | removal ms | export ms | check/export | log bytes (both runs) | peak working "
            "set MiB |\n");
        std::printf("|---:|---:|---:|---:|---:|---:|---:|\n");
        for (int sections : {100, 1000, 10000})
        {
            std::vector<double> check;
            std::vector<double> removal;
            std::vector<double> exported;
            ULONGLONG logBytes = 0;
            for (int i = 0; i < Rounds; ++i)
            {
                Round round = RunRound(sections, logPath, exports / (std::to_string(sections) + ".reg"));
                check.push_back(round.check);
                removal.push_back(round.removal);
                exported.push_back(round.exported);
                logBytes = round.logBytes;
            }
            std::printf("| %d | %.0f | %.0f | %.0f | %.2f | %llu | %.1f |\n", sections, Median(check), Median(removal),
                        Median(exported), Median(check) / Median(exported), logBytes, PeakWorkingSetMiB());
            std::fflush(stdout);
        }
        return 0;
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "Benchmark failed: %s\n", e.what());
        return 1;
    }
}
