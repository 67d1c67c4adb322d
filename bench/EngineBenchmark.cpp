// Times the engine's check and removal runs on seeded profiles of growing
// size, beside their floor (the same registry and log work in plain system
// calls), the ghost finder on the same profile (which must not take longer
// than the check it mirrors) and the export of the same profile key by the
// system's registry editor (the backup that precedes every removal); then a
// restore of a backup of a large profile, its own backup of the profile
// included, beside the editor's export and import of the same profile; and
// the questions about 20 ghosts' files that never answer, beside the bound
// that a scan waits for them.
#include "bench/BenchmarkSupport.h"
#include "library/base/RegistryKey.h"
#include "library/base/TextConversion.h"
#include "library/base/UniqueHandle.h"
#include "program/core/CLogFile.h"
#include "program/core/GhostFinder.h"
#include "program/core/GhostPstRemover.h"
#include "program/core/RegistryRestore.h"
#include "tests/support/ProfileTreeBuilder.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TemporaryKey.h"

#include <psapi.h>

#include <algorithm>
#include <memory>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace
{
const char* const ProfileName = "Benchmark";
const std::wstring WideProfileName = L"Benchmark";
const std::wstring WidePst = AnsiToWide(BenchmarkPst);

ULONGLONG FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::string EditorPath()
{
    char windows[MAX_PATH] = {};
    GetSystemWindowsDirectoryA(windows, MAX_PATH);
    return std::string(windows) + "\\regedit.exe";
}

// Runs the registry editor with `arguments` to its end.
void RunEditor(const std::string& arguments)
{
    std::string command = "\"" + EditorPath() + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("cannot start regedit");
    UniqueKernelHandle processHandle(process.hProcess);
    UniqueKernelHandle threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
}

// Regedit sees the real HKEY_CURRENT_USER, not this process's redirected one:
// it is given the key's real path. It exits 0 even when it fails, so the file
// is what tells.
void Export(const std::string& key, const std::string& file)
{
    DeleteFileA(file.c_str());
    RunEditor("/e \"" + file + "\" \"" + key + "\"");
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

// The least a traced run over every section can cost: list the sections, then
// for each one open it, read the six values the engine may read with one call
// each, append a line per value with one write each, and close it. Returns
// the time; every section must have given its six lines.
double Floor(const std::string& profilePath, const std::string& logPath, size_t sectionCount)
{
    static const wchar_t* const ValueNames[] = {L"001f3001", L"001e3001", L"001f300a",
                                                L"001e300a", L"01023d00", L"01023d0c"};
    UniqueKernelHandle log(CreateFileA(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    Expect(log.Get() != INVALID_HANDLE_VALUE, "floor log");
    size_t lines = 0;
    double milliseconds = Milliseconds([&] {
        RegistryKey profile;
        Expect(profile.Open(HKEY_CURRENT_USER, AnsiToWide(profilePath.c_str())) == ERROR_SUCCESS, "floor profile");
        std::vector<std::wstring> sections;
        wchar_t name[512];
        for (DWORD index = 0;; ++index)
        {
            DWORD length = 511;
            if (RegEnumKeyExW(profile.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            sections.emplace_back(name, length);
        }
        for (const std::wstring& section : sections)
        {
            RegistryKey key;
            if (key.Open(profile.Get(), section) != ERROR_SUCCESS)
                continue;
            for (const wchar_t* valueName : ValueNames)
            {
                BYTE data[1024];
                DWORD type = REG_NONE;
                DWORD size = sizeof(data);
                if (RegQueryValueExW(key.Get(), valueName, nullptr, &type, data, &size) != ERROR_SUCCESS)
                    size = 0;
                std::string line = "2026.12.07 15:40:00 Info: ";
                line.append(WideToAnsi(valueName).Str()).append(" = ");
                line.append(reinterpret_cast<const char*>(data), std::min<DWORD>(size, 32)).append("\r\n");
                DWORD written = 0;
                if (WriteFile(log.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr))
                    ++lines;
            }
        }
    });
    Expect(lines == 6 * sectionCount, "floor lines");
    return milliseconds;
}

// One round on a fresh profile: the times of the five runs and the log bytes
// of both engine runs.
struct Round
{
    double check = 0;
    double finder = 0;
    double floor = 0;
    double removal = 0;
    double exported = 0;
    ULONGLONG logBytes = 0;
};

Round RunRound(int sections, const std::string& logPath, const std::string& floorLog, const std::string& file)
{
    ScratchRegistry registry;
    ProfileTreeBuilder profile(ProfileName);
    int ghosts = SeedProfile(profile, sections);
    Expect(static_cast<int>(profile.Sections().size()) == sections + 1, "seeding");

    Round round;
    ULONGLONG logBefore = FileSize(logPath);
    CoreOutcome::What checkResult = CoreOutcome::What::OtherFailure;
    round.check = Milliseconds([&] { checkResult = GhostPstRemover(WideProfileName, WidePst, true).Run(); });
    Expect(checkResult == CoreOutcome::What::InvalidSections, "check result");

    ULONGLONG logBeforeFinder = FileSize(logPath);
    size_t found = 0;
    round.finder =
        Milliseconds([&] { found = GhostFinder::Find(HKEY_CURRENT_USER, WideProfileName).candidates.size(); });
    Expect(found == static_cast<size_t>(ghosts), "finder candidates");
    Expect(FileSize(logPath) == logBeforeFinder, "finder log");

    round.floor = Floor(profile.ProfilePath(), floorLog, static_cast<size_t>(sections) + 1);

    round.exported =
        Milliseconds([&] { Export("HKEY_CURRENT_USER\\" + registry.RealPath() + "\\" + profile.ProfilePath(), file); });
    // Every section's key line alone takes more than this in UTF-16.
    Expect(FileSize(file) > static_cast<ULONGLONG>(sections) * 200, "export size");

    CoreOutcome::What removalResult = CoreOutcome::What::OtherFailure;
    round.removal = Milliseconds([&] { removalResult = GhostPstRemover(WideProfileName, WidePst, false).Run(); });
    Expect(removalResult == CoreOutcome::What::InvalidSections, "removal result");
    Expect(static_cast<int>(profile.Sections().size()) == sections + 1 - ghosts, "deletions");
    round.logBytes = FileSize(logPath) - logBefore;
    return round;
}

// The times of a restore and of the editor's way to the same end.
struct RestoreRound
{
    double exported = 0;
    double imported = 0;
    double restored = 0;
};

// A profile of `sections` sections in the real HKEY_CURRENT_USER (the editor
// and the restore's own backup see that one), exported and imported by the
// editor, then restored by the program from the same file over the same
// profile.
RestoreRound RunRestoreRound(int sections, const std::string& file)
{
    const std::string name = "Straysweep benchmark " + std::to_string(GetCurrentProcessId());
    const std::string path = std::string(ProfileTreeBuilder::Office16Root) + "\\" + name;
    TemporaryKey cleanup(path);
    ProfileTreeBuilder profile(name, ProfileTreeBuilder::Office16Root);
    SeedProfile(profile, sections);
    const std::string key = "HKEY_CURRENT_USER\\" + path;

    RestoreRound round;
    round.exported = Milliseconds([&] { Export(key, file); });
    Expect(FileSize(file) > static_cast<ULONGLONG>(sections) * 200, "restore export size");
    round.imported = Milliseconds([&] { RunEditor("/s \"" + file + "\""); });
    RegistryRestore::Outcome outcome;
    round.restored = Milliseconds([&] {
        outcome = RegistryRestore(RegistryEditor(EditorPath().c_str(), 600000)).RestoreFile(file.c_str(), L"", false);
    });
    Expect(outcome.stage == RegistryRestore::Stage::Restored, "restored");
    Expect(!outcome.backupFile.IsEmpty(), "restore backup");
    DeleteFileA(outcome.backupFile.GetString());
    return round;
}
} // namespace

// Each size runs three rounds and shows the median of each time, and of each
// round's ratios: the machine the benchmark runs on is shared, single runs
// vary widely, and a run and its floor measured back to back vary together.
int main()
{
    const int Rounds = 3;
    try
    {
        // The log's path comes from the real HKEY_CURRENT_USER.
        CLogFile::Instance().OpenWithSizeLimit();
        std::string logPath = CLogFile::Instance().GetFilePath().Str();
        TempFolder exports;

        std::printf("| sections | floor ms | check ms | check/floor | finder ms | finder/check | repair ms | "
                    "repair/floor | export ms | check/export | log bytes (both runs) | peak working set MiB |\n");
        std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
        for (int sections : {1000, 5000, 10000})
        {
            std::vector<double> floor, check, finder, removal, exported, checkRatio, finderRatio, removalRatio,
                exportRatio;
            ULONGLONG logBytes = 0;
            for (int i = 0; i < Rounds; ++i)
            {
                Round round =
                    RunRound(sections, logPath, exports / "floor.txt", exports / (std::to_string(sections) + ".reg"));
                DeleteFileA((exports / "floor.txt").c_str());
                floor.push_back(round.floor);
                check.push_back(round.check);
                finder.push_back(round.finder);
                finderRatio.push_back(round.finder / round.check);
                removal.push_back(round.removal);
                exported.push_back(round.exported);
                checkRatio.push_back(round.check / round.floor);
                removalRatio.push_back(round.removal / round.floor);
                exportRatio.push_back(round.check / round.exported);
                logBytes = round.logBytes;
            }
            std::printf("| %d | %.0f | %.0f | %.2f | %.0f | %.2f | %.0f | %.2f | %.0f | %.2f | %llu | %.1f |\n",
                        sections, Median(floor), Median(check), Median(checkRatio), Median(finder), Median(finderRatio),
                        Median(removal), Median(removalRatio), Median(exported), Median(exportRatio), logBytes,
                        PeakWorkingSetMiB());
            std::fflush(stdout);
        }

        std::printf("\n| sections | editor export ms | editor import ms | restore ms | restore/(export+import) |\n");
        std::printf("|---:|---:|---:|---:|---:|\n");
        std::vector<double> exported, imported, restored, ratio;
        for (int i = 0; i < Rounds; ++i)
        {
            RestoreRound round = RunRestoreRound(5000, exports / "restore.reg");
            exported.push_back(round.exported);
            imported.push_back(round.imported);
            restored.push_back(round.restored);
            ratio.push_back(round.restored / (round.exported + round.imported));
        }
        std::printf("| 5000 | %.0f | %.0f | %.0f | %.2f |\n", Median(exported), Median(imported), Median(restored),
                    Median(ratio));

        // Stand-in questions that hang as one about a server that is gone,
        // released once measured.
        const DWORD Bound = 1000;
        auto release = std::make_shared<UniqueKernelHandle>(CreateEventA(nullptr, TRUE, FALSE, nullptr));
        std::vector<GhostFinder::Candidate> ghosts(20);
        std::vector<GhostFinder::Candidate*> asked;
        for (size_t i = 0; i < ghosts.size(); ++i)
        {
            ghosts[i].pstPath = L"\\\\gone\\home\\archive " + std::to_wstring(i) + L".pst";
            asked.push_back(&ghosts[i]);
        }
        double asking = Milliseconds([&] {
            GhostFinder::AskFiles(asked, Bound, [release](const std::wstring&) {
                WaitForSingleObject(release->Get(), INFINITE);
                return false;
            });
        });
        SetEvent(release->Get());
        Expect(std::none_of(ghosts.begin(), ghosts.end(),
                            [](const GhostFinder::Candidate& ghost) { return ghost.pstFileExists.has_value(); }),
               "unanswered files");
        std::printf("\n| ghosts whose files never answer | bound ms | asked ms | asked/bound |\n");
        std::printf("|---:|---:|---:|---:|\n");
        std::printf("| %u | %lu | %.0f | %.2f |\n", static_cast<unsigned>(ghosts.size()), Bound, asking,
                    asking / Bound);
        return 0;
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "Benchmark failed: %s\n", e.what());
        return 1;
    }
}
