#include "tests/support/DialogControls.h"

void Click(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void PostKey(HWND window, UINT key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1);
}

std::string WindowText(HWND window)
{
    char text[4096] = {};
    SendMessageA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
    return text;
}

std::string ControlText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

void SetControlText(HWND dialog, int id, const std::string& text)
{
    SetDlgItemTextA(dialog, id, text.c_str());
}

bool IsControlEnabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

std::vector<std::string> ComboEntries(HWND dialog, int id)
{
    std::vector<std::string> entries;
    LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index)
    {
        char text[1024] = {};
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

std::string ComboSelection(HWND dialog, int id)
{
    LRESULT selected = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR)
        return "<none>";
    char text[1024] = {};
    SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text));
    return text;
}

void SelectComboEntry(HWND dialog, int id, const std::string& text)
{
    LRESULT index = SendDlgItemMessageA(dialog, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>(text.c_str()));
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

namespace
{
struct WindowSearch
{
    const std::string* caption;
    HWND except;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    if (window != search->except && WindowText(window) == *search->caption)
    {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindThreadWindow(const std::string& caption, HWND except)
{
    WindowSearch search = {&caption, except, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
