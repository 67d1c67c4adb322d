#include "library/error/NvExceptionCommon.h"
#include "library/error/NvExceptionText.h"
#include "library/framework/CWinApp.h"
#include "library/ui/NvDialog.h"
#include "tests/data/TestDialogIds.h"
#include "tests/library/framework/ScriptedDialog.h"
#include "tests/support/MessageBoxCatcher.h"

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{
// "&Action" runs the handler under test; "&Other" notes that the dialog
// still handles commands.
class GuardedDialog : public ScriptedDialog<NvDialog>
{
public:
    GuardedDialog() : ScriptedDialog(IDD_TEST_DIALOG) {}

    std::function<void()> action;
    std::vector<std::string> events;

protected:
    BOOL MessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message == WM_COMMAND && LOWORD(wParam) == IDC_TEST_ACTION)
        {
            events.push_back("action");
            action();
            events.push_back("action done");
            *result = 0;
            return TRUE;
        }
        if (message == WM_COMMAND && LOWORD(wParam) == IDC_TEST_OTHER)
        {
            events.push_back("other");
            *result = 0;
            return TRUE;
        }
        return ScriptedDialog::MessageMap(message, wParam, lParam, result);
    }
};

struct GuardCase
{
    const char* name;
    std::function<void()> fail;
    std::string text;
    std::string caption;
    BoxIcon icon;
    bool ownedByTheDialog;
};

class MessageGuard : public testing::TestWithParam<GuardCase>
{
};

TEST_P(MessageGuard, ShowsTheFailureAndKeepsTheDialogRunning)
{
    CWinApp app("Norvale PST Straysweep");
    GuardedDialog dialog;
    app.m_pMainWnd = &dialog;
    dialog.action = GetParam().fail;
    MessageBoxCatcher catcher;
    HWND window = nullptr;
    dialog.Then([&] {
        window = dialog.m_hWnd;
        PostMessageA(dialog.m_hWnd, WM_COMMAND, IDC_TEST_ACTION, 0);
    });
    dialog.Then([&] { PostMessageA(dialog.m_hWnd, WM_COMMAND, IDC_TEST_OTHER, 0); });
    dialog.Then([&] { dialog.EndDialog(IDOK); });

    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<std::string>{"action", "other"}), dialog.events);
    ASSERT_EQ(1u, catcher.Boxes().size());
    const CapturedBox& box = catcher.Boxes()[0];
    EXPECT_EQ(GetParam().text, box.text);
    EXPECT_EQ(GetParam().caption, box.caption);
    EXPECT_EQ(GetParam().icon, box.icon);
    EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
    EXPECT_EQ(GetParam().ownedByTheDialog ? window : nullptr, box.owner);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MessageGuard,
    testing::Values(
        GuardCase{"NvExceptionText",
                  [] { throw Error::NvExceptionText("Backup folder is missing.", __FILE__, __LINE__); },
                  "Backup folder is missing.", "Error", BoxIcon::Error, false},
        GuardCase{"NvExceptionCommon",
                  [] { throw Error::NvExceptionCommon(ERROR_ACCESS_DENIED, "Cannot open.", __FILE__, __LINE__); },
                  "Access denied. (0x5) \n\nCannot open.", "Error", BoxIcon::Error, false},
        GuardCase{"EmptyNvExceptionText", [] { throw Error::NvExceptionText("  ", nullptr, 0); },
                  "Unknown error occured\nFile: , Line: 0", "Error", BoxIcon::Error, false},
        GuardCase{"StandardException", [] { throw std::runtime_error("disk"); }, "Unhandled exception in Nv window.",
                  "Norvale PST Straysweep", BoxIcon::Exclamation, true},
        GuardCase{"Integer", [] { throw 42; }, "Unhandled exception in Nv window.", "Norvale PST Straysweep",
                  BoxIcon::Exclamation, true}),
    [](const testing::TestParamInfo<GuardCase>& info) { return std::string(info.param.name); });

TEST(MessageGuardOrder, HandlerThatSucceedsShowsNothing)
{
    GuardedDialog dialog;
    dialog.action = [] {};
    MessageBoxCatcher catcher;
    dialog.Then([&] { PostMessageA(dialog.m_hWnd, WM_COMMAND, IDC_TEST_ACTION, 0); });
    dialog.Then([&] { dialog.EndDialog(IDOK); });
    dialog.DoModal();
    EXPECT_EQ((std::vector<std::string>{"action", "action done"}), dialog.events);
    EXPECT_TRUE(catcher.Boxes().empty());
}

TEST(MessageGuardOrder, FailureEndsTheInterruptedHandler)
{
    GuardedDialog dialog;
    dialog.action = [] { throw Error::NvExceptionText("stop", nullptr, 0); };
    MessageBoxCatcher catcher;
    bool openDuringTheBox = false;
    catcher.OnBox([&](const CapturedBox&) { openDuringTheBox = IsWindow(dialog.m_hWnd) != FALSE; });
    dialog.Then([&] { PostMessageA(dialog.m_hWnd, WM_COMMAND, IDC_TEST_ACTION, 0); });
    dialog.Then([&] { dialog.EndDialog(IDOK); });
    dialog.DoModal();
    EXPECT_EQ(std::vector<std::string>{"action"}, dialog.events);
    EXPECT_TRUE(openDuringTheBox);
}
} // namespace
