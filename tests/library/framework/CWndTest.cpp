#include "library/framework/CWinApp.h"
#include "library/framework/CWnd.h"
#include "tests/support/MessageBoxCatcher.h"

#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

namespace
{
const UINT ThrowMessage = WM_APP + 1;

// A window object that records the messages it sees and fails on request.
class RecordingWnd : public CWnd
{
public:
    std::vector<UINT> seen;
    UINT throwOn = 0;
    int paints = 0;

protected:
    BOOL MessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        seen.push_back(message);
        if (message == WM_PAINT)
            ++paints;
        if (message == throwOn || (message == ThrowMessage && throwOn == 0))
            throw std::runtime_error("handler failed");
        return CWnd::MessageMap(message, wParam, lParam, result);
    }
};

RECT SmallRect()
{
    return RECT{10, 10, 110, 40};
}

bool Saw(const RecordingWnd& window, UINT message)
{
    for (UINT seen : window.seen)
    {
        if (seen == message)
            return true;
    }
    return false;
}

TEST(WindowBinding, CreatedWindowIsBoundBeforeItsFirstMessage)
{
    RecordingWnd window;
    ASSERT_TRUE(window.CreateEx(0, "STATIC", "text", WS_POPUP, SmallRect(), nullptr, 0));
    EXPECT_EQ(&window, CWnd::FromHandlePermanent(window.m_hWnd));
    ASSERT_FALSE(window.seen.empty());
    EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), window.seen.front());
    EXPECT_TRUE(Saw(window, WM_NCCREATE));
    EXPECT_TRUE(Saw(window, WM_CREATE));
}

TEST(WindowBinding, UnhandledMessagesKeepTheWindowsOwnBehaviour)
{
    RecordingWnd window;
    ASSERT_TRUE(window.CreateEx(0, "EDIT", "", WS_POPUP, SmallRect(), nullptr, 0));
    window.SetWindowText("Zażółć gęślą jaźń");
    EXPECT_TRUE(Saw(window, WM_SETTEXT));
    CString text;
    window.GetWindowText(text);
    EXPECT_STREQ("Zażółć gęślą jaźń", text.GetString());
    EXPECT_EQ(17, window.GetWindowTextLength());
}

TEST(WindowBinding, SubclassingTakesOverAnExistingWindowOnce)
{
    // A Unicode window, as the dialogs' controls are: its procedure reads
    // back the same through the wide function with which the binding sets it.
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, edit);
    LONG_PTR ownProcedure = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    {
        RecordingWnd first;
        RecordingWnd second;
        ASSERT_TRUE(first.SubclassWindow(edit));
        EXPECT_FALSE(second.SubclassWindow(edit));
        EXPECT_EQ(nullptr, second.m_hWnd);
        EXPECT_FALSE(first.SubclassWindow(edit));
        SetWindowTextA(edit, "x");
        EXPECT_TRUE(Saw(first, WM_SETTEXT));
        EXPECT_TRUE(second.seen.empty());

        EXPECT_EQ(edit, first.UnsubclassWindow());
        EXPECT_EQ(nullptr, first.m_hWnd);
        EXPECT_EQ(ownProcedure, GetWindowLongPtrW(edit, GWLP_WNDPROC));
        first.seen.clear();
        SetWindowTextA(edit, "y");
        EXPECT_TRUE(first.seen.empty());
    }
    // Unbound objects leave the window alone when they go.
    EXPECT_TRUE(IsWindow(edit));
    DestroyWindow(edit);
}

TEST(WindowBinding, NullOrDeadWindowsCannotBeSubclassed)
{
    RecordingWnd window;
    EXPECT_FALSE(window.SubclassWindow(nullptr));
    HWND dead = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(dead);
    EXPECT_FALSE(window.SubclassWindow(dead));
    EXPECT_EQ(nullptr, window.m_hWnd);
}

TEST(WindowBinding, DestroyedWindowLetsGoOfItsObject)
{
    RecordingWnd window;
    ASSERT_TRUE(window.CreateEx(0, "STATIC", "", WS_POPUP, SmallRect(), nullptr, 0));
    HWND handle = window.m_hWnd;
    EXPECT_TRUE(window.DestroyWindow());
    EXPECT_TRUE(Saw(window, WM_NCDESTROY));
    EXPECT_EQ(nullptr, window.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(handle));
    EXPECT_FALSE(window.DestroyWindow());
}

TEST(WindowBinding, ObjectThatGoesFirstDestroysItsWindow)
{
    HWND handle = nullptr;
    {
        RecordingWnd window;
        ASSERT_TRUE(window.CreateEx(0, "STATIC", "", WS_POPUP, SmallRect(), nullptr, 0));
        handle = window.m_hWnd;
    }
    EXPECT_FALSE(IsWindow(handle));
}

TEST(WindowBinding, DestroyedMainWindowIsNoLongerTheApplicationsMainWindow)
{
    CWinApp app("Straysweep Test");
    RecordingWnd window;
    ASSERT_TRUE(window.CreateEx(0, "STATIC", "", WS_POPUP, SmallRect(), nullptr, 0));
    app.m_pMainWnd = &window;
    window.DestroyWindow();
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}

TEST(WindowBinding, ChildWithoutObjectGetsOneStandIn)
{
    RecordingWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, "STATIC", "", WS_POPUP, SmallRect(), nullptr, 0));
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, parent.m_hWnd, reinterpret_cast<HMENU>(77),
                                 nullptr, nullptr);
    CWnd* standIn = parent.GetDlgItem(77);
    ASSERT_NE(nullptr, standIn);
    EXPECT_EQ(child, standIn->m_hWnd);
    EXPECT_EQ(standIn, parent.GetDlgItem(77));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(child));
    EXPECT_EQ(nullptr, parent.GetDlgItem(78));

    RecordingWnd bound;
    ASSERT_TRUE(bound.CreateEx(0, "STATIC", "", WS_CHILD, SmallRect(), parent.m_hWnd, 79));
    EXPECT_EQ(&bound, parent.GetDlgItem(79));
}

TEST(EscapedException, AnyExceptionStopsAtTheWindowProcedureWithABox)
{
    CWinApp app("Straysweep Test");
    MessageBoxCatcher catcher;
    RecordingWnd window;
    ASSERT_TRUE(window.CreateEx(0, "STATIC", "", WS_POPUP, SmallRect(), nullptr, 0));
    EXPECT_EQ(0, SendMessageA(window.m_hWnd, ThrowMessage, 0, 0));
    ASSERT_EQ(1u, catcher.Boxes().size());
    EXPECT_EQ("Unhandled exception in window procedure.", catcher.Boxes()[0].text);
    EXPECT_EQ("Straysweep Test", catcher.Boxes()[0].caption);
    EXPECT_EQ(BoxIcon::Error, catcher.Boxes()[0].icon);
    // The window goes on working.
    EXPECT_TRUE(IsWindow(window.m_hWnd));
    window.SetWindowText("after");
    CString text;
    window.GetWindowText(text);
    EXPECT_STREQ("after", text.GetString());
}

TEST(EscapedException, FailedPaintIsValidatedWithoutABox)
{
    MessageBoxCatcher catcher;
    RecordingWnd window;
    window.throwOn = WM_PAINT;
    ASSERT_TRUE(window.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, SmallRect(), nullptr, 0));
    UpdateWindow(window.m_hWnd);
    int paints = window.paints;
    EXPECT_GE(paints, 1);
    // Nothing left to paint: no second WM_PAINT.
    MSG message;
    while (PeekMessageA(&message, window.m_hWnd, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    EXPECT_EQ(paints, window.paints);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(window.m_hWnd, &update, FALSE));
    EXPECT_TRUE(catcher.Boxes().empty());
}

TEST(EscapedException, FailedCreationMakesCreateFail)
{
    MessageBoxCatcher catcher;
    RecordingWnd window;
    window.throwOn = WM_CREATE;
    EXPECT_FALSE(window.CreateEx(0, "STATIC", "", WS_POPUP, SmallRect(), nullptr, 0));
    EXPECT_EQ(nullptr, window.m_hWnd);
    EXPECT_TRUE(catcher.Boxes().empty());
}
} // namespace
