#include "library/framework/CToolTipCtrl.h"

#include "library/framework/CommonControlsLibrary.h"

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    if (!CommonControlsLibrary::Initialize(ICC_BAR_CLASSES))
        return FALSE;
    // The control places and sizes itself whenever it shows.
    RECT rect = {};
    return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, rect, parent != nullptr ? parent->m_hWnd : nullptr,
                    0);
}

void CToolTipCtrl::Activate(BOOL activate)
{
    SendMessage(TTM_ACTIVATE, activate);
}

BOOL CToolTipCtrl::AddTool(CWnd* window, const std::wstring& text, LPCRECT rect, UINT_PTR toolId)
{
    TOOLINFOW info = {};
    // The classic common controls (version 5, which the program uses) refuse
    // the larger structure of later versions.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hinst = GetModuleHandleA(nullptr);
    info.lpszText = const_cast<LPWSTR>(text.c_str());
    if (rect == nullptr && toolId == 0)
    {
        info.uFlags = TTF_IDISHWND;
        info.hwnd = ::GetParent(window->m_hWnd);
        info.uId = reinterpret_cast<UINT_PTR>(window->m_hWnd);
    }
    else
    {
        info.hwnd = window->m_hWnd;
        info.uId = toolId;
        if (rect != nullptr)
            info.rect = *rect;
    }
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::RelayEvent(LPMSG message)
{
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(message));
}
