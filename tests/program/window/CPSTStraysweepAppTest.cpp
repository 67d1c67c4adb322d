#include "library/base/AfxResource.h"
#include "resources/resource.h"
#include "tests/support/DialogControls.h"
#include "tests/support/ProfileTreeBuilder.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/ScratchRegistry.h"

#include <gtest/gtest.h>

namespace
{
class StartUp : public ProgramRun
{
protected:
    ScratchRegistry registry;
    ProfileTreeBuilder profile{"Outlook"};
};

TEST_F(StartUp, StartLinesComeBeforeTheWindowAndTheExitLineAfterIt)
{
    std::vector<std::string> linesAtStart;
    std::string caption;
    HINSTANCE resourcesDuringRun = nullptr;
    bool focusOnTheList = false;
    driver.Then([&](HWND dialog) {
        focusOnTheList = GetFocus() == GetDlgItem(dialog, IDC_PROFILES);
        linesAtStart = log.Lines();
        caption = WindowText(dialog);
        resourcesDuringRun = AfxGetResourceHandle();
        Click(dialog, IDCANCEL);
    });

    EXPECT_EQ(0, RunProgram());

    EXPECT_EQ(StartLines(), linesAtStart);
    EXPECT_EQ("Norvale PST Straysweep", caption);
    EXPECT_TRUE(focusOnTheList);
    EXPECT_EQ(GetModuleHandleA(nullptr), resourcesDuringRun);
    EXPECT_EQ(GetModuleHandleA(nullptr), AfxGetResourceHandle());
    EXPECT_EQ(RunLines({}), log.Lines());
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(IsWindow(driver.Dialog()));
}

// Only the command's upper twelve bits count: 0x0017 is the About command
// as much as 0x0010 is.
TEST_F(StartUp, AboutBoxRunsModallyOnTheAboutSystemCommand)
{
    HWND about = nullptr;
    driver.Then([&](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, 0x0017, 0); })
        .Then([&](HWND dialog) {
            about = FindThreadWindow("About PSTStraysweep");
            ASSERT_NE(nullptr, about);
            EXPECT_EQ(dialog, GetWindow(about, GW_OWNER));
            EXPECT_FALSE(IsWindowEnabled(dialog));
            EXPECT_NE(nullptr, FindWindowExA(about, nullptr, "Static", "PSTStraysweep Version 1.0"));
            Click(about, IDOK);
        })
        .Then([&](HWND dialog) {
            EXPECT_FALSE(IsWindow(about));
            EXPECT_TRUE(IsWindowEnabled(dialog));
            Click(dialog, IDCANCEL);
        });

    RunProgram();

    EXPECT_NE(nullptr, about);
    EXPECT_EQ(0u, driver.StepsLeft());
    EXPECT_TRUE(boxes.Boxes().empty());
}
} // namespace
