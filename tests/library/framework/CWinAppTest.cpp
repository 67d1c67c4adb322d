#include "library/framework/CWinApp.h"
#include "library/base/UniqueHandle.h"

#include <string>

#include <gtest/gtest.h>

namespace
{
std::string TestFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1);
}

TEST(Application, DefaultNameIsTheExecutablesNameWithoutExtension)
{
    CWinApp app;
    EXPECT_STREQ("test_framework", app.m_pszAppName);
}

TEST(Application, IsTheProgramsOneApplicationWhileItLives)
{
    EXPECT_EQ(nullptr, AfxGetApp());
    {
        CWinApp app("Straysweep Test");
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_EQ(nullptr, app.m_pMainWnd);
    }
    EXPECT_EQ(nullptr, AfxGetApp());
}

// The helper's InitInstance notes whether it was the application; its
// ExitInstance returns 42 then, 13 otherwise.
TEST(Application, EntryPointRunsInitInstanceThenReturnsExitInstancesResult)
{
    std::string command = "\"" + TestFolder() + "test_application.exe\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    UniqueKernelHandle processHandle(process.hProcess);
    UniqueKernelHandle threadHandle(process.hThread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 20000));
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(42u, exitCode);
}
} // namespace
