#include "library/fs/NvFsPathT.h"
#include "library/system/CProcessesEnum.h"
#include "tests/support/StandInProcess.h"

#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

namespace
{
const PROCESSENTRY32* FindProcess(const CProcessesEnum& processes, DWORD id)
{
    auto found = std::find_if(processes.begin(), processes.end(),
                              [id](const PROCESSENTRY32& process) { return process.th32ProcessID == id; });
    return found != processes.end() ? &*found : nullptr;
}

TEST(ProcessList, HoldsTheOwnProcessWithItsExecutableName)
{
    CProcessesEnum processes;
    processes.Enumerate();
    const PROCESSENTRY32* own = FindProcess(processes, GetCurrentProcessId());
    ASSERT_NE(nullptr, own);
    EXPECT_EQ(sizeof(PROCESSENTRY32), own->dwSize);
    EXPECT_STREQ("test_system.exe", NvFsPath(own->szExeFile).GetFileName().GetString());
}

TEST(ProcessList, HoldsAStartedChildUntilItHasEnded)
{
    auto child = std::make_unique<StandInProcess>("enum-child.exe");
    DWORD childId = child->Id();
    CProcessesEnum processes;
    processes.Enumerate();
    const PROCESSENTRY32* listed = FindProcess(processes, childId);
    ASSERT_NE(nullptr, listed);
    EXPECT_STREQ("enum-child.exe", NvFsPath(listed->szExeFile).GetFileName().GetString());
    EXPECT_EQ(GetCurrentProcessId(), listed->th32ParentProcessID);

    child.reset();
    processes.Enumerate();
    EXPECT_EQ(nullptr, FindProcess(processes, childId));
}

TEST(ProcessList, EachCallReplacesTheListWithAFreshSnapshot)
{
    CProcessesEnum processes;
    processes.Enumerate();
    processes.Enumerate();
    DWORD ownId = GetCurrentProcessId();
    EXPECT_EQ(1, std::count_if(processes.begin(), processes.end(),
                               [ownId](const PROCESSENTRY32& process) { return process.th32ProcessID == ownId; }));
}
} // namespace
