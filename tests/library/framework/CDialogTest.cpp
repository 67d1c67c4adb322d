#include "library/framework/CComboBox.h"
#include "library/framework/CWinApp.h"
#include "tests/data/TestDialogIds.h"
#include "tests/library/framework/ScriptedDialog.h"
#include "tests/support/MessageBoxCatcher.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace
{
// The tests' form: a combo box and an edit exchanged with members.
class FormDialog : public ScriptedDialog<CDialog>
{
public:
    explicit FormDialog(UINT templateId = IDD_TEST_DIALOG, CWnd* parent = nullptr) : ScriptedDialog(templateId, parent)
    {
    }

    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }

    CComboBox m_combo;
    std::wstring m_text;
    bool exchangeMissingControl = false;
    // Where OnInitDialog moves the dialog, if anywhere.
    std::optional<POINT> placeAt;
    std::vector<std::string> events;
    std::vector<MSG> preTranslated;
    CString textAtDestruction;

protected:
    void DoDataExchange(CDataExchange* dx) override
    {
        DDX_Control(dx, IDC_TEST_COMBO, m_combo);
        if (exchangeMissingControl)
            DDX_Text(dx, IDC_TEST_MISSING, m_text);
        DDX_Text(dx, IDC_TEST_EDIT, m_text);
    }

    BOOL OnInitDialog() override
    {
        events.push_back("init");
        if (placeAt)
            SetWindowPos(m_hWnd, nullptr, placeAt->x, placeAt->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return ScriptedDialog::OnInitDialog();
    }

    void OnOK() override
    {
        events.push_back("ok");
        ScriptedDialog::OnOK();
    }

    void OnCancel() override
    {
        events.push_back("cancel");
        ScriptedDialog::OnCancel();
    }

    BOOL DestroyWindow() override
    {
        events.push_back("destroy");
        char text[64] = {};
        ::GetWindowTextA(Item(IDC_TEST_EDIT), text, sizeof(text));
        textAtDestruction = text;
        return ScriptedDialog::DestroyWindow();
    }

    BOOL PreTranslateMessage(MSG* message) override
    {
        if (message->message == WM_MOUSEMOVE)
            preTranslated.push_back(*message);
        return ScriptedDialog::PreTranslateMessage(message);
    }

    BOOL MessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (message == WM_SYSCOMMAND)
        {
            events.push_back("syscommand");
            OnSysCommand(static_cast<UINT>(wParam), lParam);
            *result = 0;
            return TRUE;
        }
        return ScriptedDialog::MessageMap(message, wParam, lParam, result);
    }
};

// Records the commands that reach the application.
class CommandRecordingApp : public CWinApp
{
public:
    CommandRecordingApp() : CWinApp("Straysweep Test") {}
    std::vector<UINT> commands;

    BOOL OnCommand(UINT id) override
    {
        commands.push_back(id);
        return id == ID_HELP;
    }
};

void PostKey(HWND window, UINT key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1);
}

RECT WorkArea()
{
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

POINT CentreOf(const RECT& rect)
{
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Runs the dialog modally and returns its window rectangle as it was shown.
RECT ShownRect(FormDialog& dialog)
{
    RECT rect = {};
    dialog.Then([&] {
        GetWindowRect(dialog.m_hWnd, &rect);
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    return rect;
}

TEST(ModalDialog, RunsFromTheTemplateUntilEndDialog)
{
    FormDialog dialog;
    HWND window = nullptr;
    char caption[64] = {};
    dialog.Then([&] {
        window = dialog.m_hWnd;
        GetWindowTextA(window, caption, sizeof(caption));
        EXPECT_TRUE(IsWindowVisible(window));
        dialog.EndDialog(42);
    });
    EXPECT_EQ(42, dialog.DoModal());
    EXPECT_STREQ("Straysweep test dialog", caption);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_EQ((std::vector<std::string>{"init", "destroy"}), dialog.events);
}

TEST(ModalDialog, MissingTemplateRunsNothing)
{
    FormDialog dialog(IDC_TEST_MISSING);
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_TRUE(dialog.events.empty());
}

TEST(ModalDialog, CanRunAgainAfterItEnded)
{
    FormDialog dialog;
    dialog.Then([&] { dialog.EndDialog(1); });
    ASSERT_EQ(1, dialog.DoModal());
    dialog.Then([&] { dialog.EndDialog(2); });
    EXPECT_EQ(2, dialog.DoModal());
}

TEST(ModalDialog, DestroyWindowRunsAfterTheLoopWithTheControlsStillThere)
{
    FormDialog dialog;
    dialog.Then([&] {
        SetWindowTextA(dialog.Item(IDC_TEST_EDIT), "typed");
        dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_STREQ("typed", dialog.textAtDestruction.GetString());
    EXPECT_EQ("destroy", dialog.events.back());
}

TEST(ModalDialog, EscapeGoesThroughOnCancel)
{
    FormDialog dialog;
    dialog.Then([&] { PostKey(dialog.Item(IDC_TEST_EDIT), VK_ESCAPE); });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ((std::vector<std::string>{"init", "cancel", "destroy"}), dialog.events);
}

TEST(ModalDialog, SystemCommandReachesTheDerivedClassWhoseDefaultClosesThroughOnCancel)
{
    FormDialog dialog;
    dialog.Then([&] { PostMessageA(dialog.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ((std::vector<std::string>{"init", "syscommand", "cancel", "destroy"}), dialog.events);
}

TEST(ModalDialog, EnterPressesTheDefaultButtonAndOnOKTakesTheData)
{
    FormDialog dialog;
    dialog.Then([&] {
        SetWindowTextA(dialog.Item(IDC_TEST_EDIT), "entered");
        PostKey(dialog.Item(IDC_TEST_EDIT), VK_RETURN);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<std::string>{"init", "ok", "destroy"}), dialog.events);
    EXPECT_EQ(L"entered", dialog.m_text);
}

TEST(ModalDialog, TabMovesTheFocusToTheNextTabStop)
{
    FormDialog dialog;
    int focusedFirst = 0;
    int focusedAfterTab = 0;
    dialog.Then([&] {
        focusedFirst = GetDlgCtrlID(GetFocus());
        PostKey(GetFocus(), VK_TAB);
    });
    dialog.Then([&] {
        focusedAfterTab = GetDlgCtrlID(GetFocus());
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(IDC_TEST_COMBO, focusedFirst);
    EXPECT_EQ(IDC_TEST_EDIT, focusedAfterTab);
}

TEST(ModalDialog, PreTranslateMessageSeesMessagesOfEveryWindowOfTheDialog)
{
    FormDialog dialog;
    HWND edit = nullptr;
    HWND window = nullptr;
    dialog.Then([&] {
        edit = dialog.Item(IDC_TEST_EDIT);
        window = dialog.m_hWnd;
        PostMessageA(edit, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
        PostMessageA(dialog.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 6));
    });
    dialog.Then([&] { dialog.EndDialog(IDOK); });
    dialog.DoModal();
    // The pointer may add moves of its own.
    std::vector<std::pair<HWND, LPARAM>> posted;
    for (const MSG& message : dialog.preTranslated)
    {
        if (message.lParam == MAKELPARAM(3, 4) || message.lParam == MAKELPARAM(5, 6))
            posted.emplace_back(message.hwnd, message.lParam);
    }
    ASSERT_EQ(2u, posted.size());
    EXPECT_EQ(edit, posted[0].first);
    EXPECT_EQ(MAKELPARAM(3, 4), posted[0].second);
    EXPECT_EQ(window, posted[1].first);
}

TEST(ModalDialog, OwnerlessDialogIsOwnedAndDisabledByTheMainWindow)
{
    CommandRecordingApp app;
    FormDialog mainDialog;
    app.m_pMainWnd = &mainDialog;
    HWND mainWindow = nullptr;
    HWND owner = nullptr;
    BOOL mainEnabledDuring = TRUE;
    BOOL mainEnabledAfter = FALSE;
    mainDialog.Then([&] {
        mainWindow = mainDialog.m_hWnd;
        FormDialog inner;
        inner.Then([&] {
            owner = GetWindow(inner.m_hWnd, GW_OWNER);
            mainEnabledDuring = IsWindowEnabled(mainWindow);
            inner.EndDialog(IDOK);
        });
        inner.DoModal();
        mainEnabledAfter = IsWindowEnabled(mainWindow);
        mainDialog.EndDialog(IDOK);
    });
    mainDialog.DoModal();
    EXPECT_EQ(mainWindow, owner);
    EXPECT_FALSE(mainEnabledDuring);
    EXPECT_TRUE(mainEnabledAfter);
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}

TEST(ModalDialog, OwnerlessDialogIsCentredOnTheWorkAreaUnlessItPlacedItself)
{
    FormDialog centred;
    RECT centredRect = ShownRect(centred);
    FormDialog placed;
    placed.placeAt = POINT{12, 34};
    RECT placedRect = ShownRect(placed);

    POINT areaCentre = CentreOf(WorkArea());
    EXPECT_NEAR(areaCentre.x, CentreOf(centredRect).x, 1);
    EXPECT_NEAR(areaCentre.y, CentreOf(centredRect).y, 1);
    EXPECT_EQ(12, placedRect.left);
    EXPECT_EQ(34, placedRect.top);
}

TEST(ModalDialog, OwnedDialogIsCentredOverItsOwnerInsideTheWorkArea)
{
    CommandRecordingApp app;
    FormDialog mainDialog;
    app.m_pMainWnd = &mainDialog;
    const RECT area = WorkArea();
    RECT owner = {};
    RECT overOwner = {};
    RECT ownerPastTheEdge = {};
    RECT keptInside = {};
    mainDialog.Then([&] {
        // Larger than the owned dialog and away from the work area's centre.
        SetWindowPos(mainDialog.m_hWnd, nullptr, area.left + 20, area.top + 10, 600, 500, SWP_NOZORDER);
        GetWindowRect(mainDialog.m_hWnd, &owner);
        FormDialog first;
        overOwner = ShownRect(first);
        SetWindowPos(mainDialog.m_hWnd, nullptr, area.left - 200, area.top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        GetWindowRect(mainDialog.m_hWnd, &ownerPastTheEdge);
        FormDialog second;
        keptInside = ShownRect(second);
        mainDialog.EndDialog(IDOK);
    });
    mainDialog.DoModal();

    EXPECT_NEAR(CentreOf(owner).x, CentreOf(overOwner).x, 1);
    EXPECT_NEAR(CentreOf(owner).y, CentreOf(overOwner).y, 1);
    EXPECT_EQ(area.left - 200, ownerPastTheEdge.left);
    EXPECT_EQ(area.left, keptInside.left);
    EXPECT_NEAR(CentreOf(ownerPastTheEdge).y, CentreOf(keptInside).y, 1);
}

TEST(CommandRouting, CommandsTheDialogDoesNotHandleGoToTheApplication)
{
    CommandRecordingApp app;
    FormDialog dialog;
    app.m_pMainWnd = &dialog;
    dialog.Then([&] {
        PostMessageA(dialog.m_hWnd, WM_COMMAND, IDC_TEST_OTHER, 0);
        PostMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_TEST_EDIT, EN_CHANGE), 1);
    });
    dialog.Then([&] {
        HELPINFO help = {};
        help.cbSize = sizeof(help);
        SendMessageA(dialog.m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ((std::vector<UINT>{IDC_TEST_OTHER, ID_HELP}), app.commands);
    EXPECT_EQ((std::vector<std::string>{"init", "destroy"}), dialog.events);
}

TEST(DataExchange, MembersGoToTheControlsAtInitialisation)
{
    FormDialog dialog;
    dialog.m_text = std::wstring(300, L'x') + L"Za\u017c\u00f3\u0142\u0107";
    std::wstring shown;
    dialog.Then([&] {
        wchar_t text[512] = {};
        GetWindowTextW(dialog.Item(IDC_TEST_EDIT), text, ARRAYSIZE(text));
        shown = text;
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.m_text, shown);
}

TEST(DataExchange, ControlsGoToTheMembersWhateverTheirLength)
{
    FormDialog dialog;
    dialog.m_text = L"before";
    std::wstring typed = std::wstring(5000, L'y') + L" \u0105\u0119";
    BOOL exchanged = FALSE;
    dialog.Then([&] {
        SetWindowTextW(dialog.Item(IDC_TEST_EDIT), typed.c_str());
        exchanged = dialog.UpdateData(TRUE);
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_TRUE(exchanged);
    EXPECT_EQ(typed, dialog.m_text);
}

TEST(DataExchange, ComboMemberIsBoundToItsControl)
{
    FormDialog dialog;
    HWND control = nullptr;
    std::wstring first;
    int selected = CB_ERR;
    int selectedAfterMiss = CB_ERR;
    dialog.Then([&] {
        control = dialog.Item(IDC_TEST_COMBO);
        EXPECT_EQ(control, dialog.m_combo.m_hWnd);
        dialog.m_combo.AddString(L"Outlook");
        dialog.m_combo.AddString(L"archive");
        dialog.m_combo.AddString(L"Default");
        dialog.m_combo.GetLBText(0, first);
        selected = dialog.m_combo.SelectString(-1, L"out");
        EXPECT_EQ(CB_ERR, dialog.m_combo.SelectString(-1, L"missing"));
        selectedAfterMiss = dialog.m_combo.GetCurSel();
        EXPECT_EQ(3, static_cast<int>(SendMessageA(control, CB_GETCOUNT, 0, 0)));
        dialog.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(L"archive", first);
    EXPECT_EQ(2, selected);
    EXPECT_EQ(2, selectedAfterMiss);
    // The control went with the dialog and let go of its object.
    EXPECT_EQ(nullptr, dialog.m_combo.m_hWnd);
}

TEST(DataExchange, MissingControlFailsTheExchangeAndKeepsOnOKFromEnding)
{
    FormDialog dialog;
    dialog.m_text = L"kept";
    BOOL exchanged = TRUE;
    bool stillOpen = false;
    dialog.Then([&] {
        dialog.exchangeMissingControl = true;
        SetWindowTextA(dialog.Item(IDC_TEST_EDIT), "typed");
        exchanged = dialog.UpdateData(TRUE);
        PostMessageA(dialog.m_hWnd, WM_COMMAND, IDOK, 0);
    });
    dialog.Then([&] {
        stillOpen = IsWindowVisible(dialog.m_hWnd) != FALSE;
        dialog.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_FALSE(exchanged);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(L"kept", dialog.m_text);
}
} // namespace
