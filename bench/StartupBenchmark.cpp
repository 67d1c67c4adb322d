// Times the window program's start-up as a user meets it: from the start of
// its process to its main window on the screen, and from there to the PST
// name's list offering the profile's ghost stores, with a small and with a
// 5,000-section default profile. Beside it: a process that shows an empty
// dialog, one that shows the window's controls alone (the floor that the
// window's template and libraries set), and a check run of the large profile
// in this process (the time that the list may take after the window shows).
// Then the command line program's scan and check of the large profile. The
// programs see the real HKEY_CURRENT_USER, so the profiles go below the
// prefix's own profiles root for the run.
#include "bench/BenchmarkSupport.h"
#include "library/base/TextConversion.h"
#include "library/base/UniqueHandle.h"
#include "program/core/CLogFile.h"
#include "program/core/GhostPstRemover.h"
#include "program/core/ProductFolder.h"
#include "resources/resource.h"
#include "tests/program/console/LiveProfile.h"
#include "tests/program/console/ScopedRegistryText.h"
#include "tests/program/console/StraysweepProcess.h"
#include "tests/support/KeptFile.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
const char* const WindowCaption = "Norvale PST Straysweep";
const char* const EmptyCaption = "Empty dialog";
// The caption of the main window's template, which only the window program
// replaces.
const char* const ControlsCaption = "PSTStraysweep";
const char* const DefaultProfileKey = "Software\\Microsoft\\Office\\16.0\\Outlook";
const double TimeLimitMs = 60000;
const DWORD SettleMs = 500;

// A program of the build: `relative` to the folder above this one's.
std::string BuildPath(const std::string& relative)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.rfind('\\'));
    return folder.substr(0, folder.rfind('\\') + 1) + relative;
}

HWND FindShownDialog(DWORD processId, LPCSTR caption)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "#32770", caption)) != nullptr)
    {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

struct Launch
{
    // From the process's start to its dialog on the screen.
    double shown = 0;
    // From then to a PST name's list that is not empty.
    double listed = 0;
};

// Starts `program`, waits for its dialog `caption` to show and, with
// `waitForList`, for the PST name's list to offer something; then closes the
// dialog as its close box would and waits for the process to end.
Launch TimeLaunch(const std::string& program, LPCSTR caption, bool waitForList)
{
    std::string command = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start = CounterNow();
    auto elapsed = [&] { return MillisecondsSince(start); };
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("cannot start " + program);
    UniqueKernelHandle processHandle(process.hProcess);
    UniqueKernelHandle threadHandle(process.hThread);

    Launch launch;
    HWND dialog = nullptr;
    while ((dialog = FindShownDialog(process.dwProcessId, caption)) == nullptr)
    {
        Expect(elapsed() < TimeLimitMs && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT, "no dialog");
        Sleep(1);
    }
    launch.shown = elapsed();
    if (waitForList)
    {
        HWND list = GetDlgItem(dialog, IDC_PST_NAME);
        DWORD_PTR count = 0;
        while (SendMessageTimeoutA(list, CB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &count) == 0 || count == 0 ||
               count == static_cast<DWORD_PTR>(CB_ERR))
        {
            Expect(elapsed() < TimeLimitMs, "no list");
            Sleep(10);
        }
        launch.listed = elapsed() - launch.shown;
    }
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    Expect(WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0, "the dialog did not close");
    // What a process's end leaves to the system (its windows, its desktop
    // entries) is done before the next one starts.
    Sleep(SettleMs);
    return launch;
}
} // namespace

// Nine rounds, each starting the empty dialog, the window's controls alone and
// the window with the small and with the large profile as the default one; the
// medians of the times and of each round's ratios to the empty dialog. Single
// starts on a shared machine vary by half, hence more rounds than the command
// line's three.
int main()
{
    const int StartRounds = 9;
    const int CommandRounds = 3;
    try
    {
        CLogFile::Instance().OpenWithSizeLimit();
        KeptFile settings(std::string(GetAppDataFolder().GetString()) + "\\Settings.ini");
        LiveProfile small("startup small");
        SeedProfile(small, 50);
        LiveProfile large("startup large");
        SeedProfile(large, 5000);
        const std::string window = BuildPath("bin\\PSTStraysweep.exe");
        const std::string empty = BuildPath("bench\\empty_dialog.exe");
        const std::string controls = BuildPath("bench\\controls_dialog.exe");

        // The first start of each program reads its files from the disk.
        TimeLaunch(empty, EmptyCaption, false);
        TimeLaunch(controls, ControlsCaption, false);
        {
            ScopedRegistryText defaultProfile(DefaultProfileKey, "DefaultProfile", small.Name());
            TimeLaunch(window, WindowCaption, true);
        }

        // A start right after another program's end is slower: each round
        // starts the four in another order, so that none is always first.
        enum Program
        {
            Empty,
            Controls,
            Small,
            Large,
            Programs
        };
        std::vector<Launch> emptyLaunches, controlsLaunches, smallLaunches, largeLaunches;
        std::vector<double> controlsRatio, smallRatio, largeRatio, inProcessCheck, listRatio;
        for (int round = 0; round < StartRounds; ++round)
        {
            Launch launches[Programs];
            for (int turn = 0; turn < Programs; ++turn)
            {
                int which = (round + turn) % Programs;
                if (which == Empty)
                {
                    launches[Empty] = TimeLaunch(empty, EmptyCaption, false);
                    continue;
                }
                if (which == Controls)
                {
                    launches[Controls] = TimeLaunch(controls, ControlsCaption, false);
                    continue;
                }
                ScopedRegistryText defaultProfile(DefaultProfileKey, "DefaultProfile",
                                                  (which == Small ? small : large).Name());
                launches[which] = TimeLaunch(window, WindowCaption, true);
            }
            emptyLaunches.push_back(launches[Empty]);
            controlsLaunches.push_back(launches[Controls]);
            smallLaunches.push_back(launches[Small]);
            largeLaunches.push_back(launches[Large]);
            controlsRatio.push_back(launches[Controls].shown / launches[Empty].shown);
            smallRatio.push_back(launches[Small].shown / launches[Empty].shown);
            largeRatio.push_back(launches[Large].shown / launches[Empty].shown);
            CoreOutcome::What result = CoreOutcome::What::OtherFailure;
            double check = Milliseconds([&] {
                result = GhostPstRemover(AnsiToWide(large.Name().c_str()), AnsiToWide(BenchmarkPst), true).Run();
            });
            Expect(result == CoreOutcome::What::InvalidSections, "check result");
            inProcessCheck.push_back(check);
            listRatio.push_back(launches[Large].listed / check);
        }
        auto median = [](const std::vector<Launch>& launches, double Launch::*time) {
            std::vector<double> times;
            for (const Launch& launch : launches)
                times.push_back(launch.*time);
            return Median(times);
        };

        std::vector<double> scan, check, scanRatio;
        for (int round = 0; round < CommandRounds; ++round)
        {
            StraysweepRun scanRun;
            double scanTime = Milliseconds([&] { scanRun = RunStraysweep({L"scan"}); });
            Expect(scanRun.exitCode == 1, "scan exit code");
            StraysweepRun checkRun;
            double checkTime = Milliseconds([&] {
                checkRun = RunStraysweep({L"check", L"--profile", Wide(large.Name()), L"--pst", Wide(BenchmarkPst)});
            });
            Expect(checkRun.exitCode == 1, "check exit code");
            scan.push_back(scanTime);
            check.push_back(checkTime);
            scanRatio.push_back(scanTime / checkTime);
        }

        std::printf("| start-up | shown ms | shown/empty dialog | list ms after shown | check ms | list/check |\n");
        std::printf("|---|---:|---:|---:|---:|---:|\n");
        std::printf("| empty dialog | %.0f | 1.00 | | | |\n", median(emptyLaunches, &Launch::shown));
        std::printf("| the window's controls alone | %.0f | %.2f | | | |\n", median(controlsLaunches, &Launch::shown),
                    Median(controlsRatio));
        std::printf("| window, 50-section default profile | %.0f | %.2f | %.0f | | |\n",
                    median(smallLaunches, &Launch::shown), Median(smallRatio), median(smallLaunches, &Launch::listed));
        std::printf("| window, 5000-section default profile | %.0f | %.2f | %.0f | %.0f | %.2f |\n",
                    median(largeLaunches, &Launch::shown), Median(largeRatio), median(largeLaunches, &Launch::listed),
                    Median(inProcessCheck), Median(listRatio));
        std::printf("\n| command line, 5000 sections | scan ms | check ms | scan/check |\n");
        std::printf("|---|---:|---:|---:|\n");
        std::printf("| straysweep.exe | %.0f | %.0f | %.2f |\n", Median(scan), Median(check), Median(scanRatio));
        return 0;
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "Benchmark failed: %s\n", e.what());
        return 1;
    }
}
