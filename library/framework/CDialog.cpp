#include "library/framework/CDialog.h"

#include "library/base/AfxResource.h"
#include "library/framework/CWinApp.h"

#include <algorithm>

namespace
{
// The header of a DIALOGEX template, which the resource compiler writes in
// place of DLGTEMPLATE.
struct DialogTemplateEx
{
    WORD version;
    WORD signature;
    DWORD helpId;
    DWORD exStyle;
    DWORD style;
    WORD itemCount;
    short x;
    short y;
    short cx;
    short cy;
};

bool TemplateLeavesPlacement(LPCDLGTEMPLATEA dialogTemplate)
{
    DWORD style = dialogTemplate->style;
    short x = dialogTemplate->x;
    short y = dialogTemplate->y;
    // A DLGTEMPLATE cannot start like this: its style would have every bit of
    // the high word set.
    auto extended = reinterpret_cast<const DialogTemplateEx*>(dialogTemplate);
    if (extended->version == 1 && extended->signature == 0xFFFF)
    {
        style = extended->style;
        x = extended->x;
        y = extended->y;
    }
    return (style & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) == 0 && x == 0 && y == 0;
}
} // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent)
{
}

// Everything is handled through the window procedure that the framework put
// in front of the dialog's own; the system's dialog procedure only asks here
// for messages that fall through, and gets the default answer.
INT_PTR CALLBACK CDialog::DialogProcedure(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

HWND CDialog::OwnerWindow() const
{
    if (m_parent != nullptr)
        return m_parent->m_hWnd;
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd != nullptr && app->m_pMainWnd != this)
        return app->m_pMainWnd->m_hWnd;
    return nullptr;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd != nullptr)
        return -1;
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(m_templateId), RT_DIALOG);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    auto dialogTemplate = static_cast<LPCDLGTEMPLATEA>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (dialogTemplate == nullptr)
        return -1;
    m_templateLeavesPlacement = TemplateLeavesPlacement(dialogTemplate);

    HWND owner = OwnerWindow();
    bool ownerDisabled = false;
    if (owner != nullptr && IsWindowEnabled(owner))
    {
        ::EnableWindow(owner, FALSE);
        ownerDisabled = true;
    }

    m_modalResult = -1;
    m_modalRunning = true;
    BindNextCreatedWindow(this);
    // A Unicode dialog, so that its texts show every letter of the template
    // whatever the ANSI code page.
    HWND window = CreateDialogIndirectParamW(module, dialogTemplate, owner, &CDialog::DialogProcedure, 0);
    StopBindingCreatedWindows();

    if (window != nullptr)
    {
        if (m_modalRunning && !IsWindowVisible(window))
            ::ShowWindow(window, SW_SHOWNORMAL);
        MSG message;
        while (m_modalRunning && m_hWnd != nullptr)
        {
            BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got == 0)
            {
                // WM_QUIT belongs to whoever runs the outer loop.
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            if (got == -1)
                break;
            if (!PreTranslateMessage(&message))
            {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        if (m_hWnd != nullptr)
            SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    m_modalRunning = false;

    // The owner is enabled again before the dialog goes, so that the system
    // can give it the activation.
    if (ownerDisabled)
        ::EnableWindow(owner, TRUE);
    if (owner != nullptr && m_hWnd != nullptr && GetActiveWindow() == m_hWnd)
        SetActiveWindow(owner);
    if (m_hWnd != nullptr)
        DestroyWindow();
    return window != nullptr ? m_modalResult : -1;
}

// Centring comes after the dialog's own initialisation, so that a dialog that
// placed or showed itself there keeps its place, and before the system shows
// a template's WS_VISIBLE dialog, so that it never appears anywhere else.
void CDialog::CentreAfterInitialisation(const RECT& rectBefore, DWORD styleBefore)
{
    if (!m_templateLeavesPlacement || m_hWnd == nullptr || (styleBefore & WS_VISIBLE) != 0 ||
        (GetStyle() & (WS_VISIBLE | WS_CHILD)) != 0)
        return;
    RECT rect;
    GetWindowRect(&rect);
    if (rect.left != rectBefore.left || rect.top != rectBefore.top)
        return;
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr && IsWindowEnabled(owner))
        return;

    // A hidden or minimised owner gives no place to appear over.
    if (owner != nullptr && (!IsWindowVisible(owner) || ::IsIconic(owner)))
        owner = nullptr;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    HMONITOR onMonitor = owner != nullptr ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                                          : MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY);
    if (!GetMonitorInfoA(onMonitor, &monitor))
        return;
    const RECT& area = monitor.rcWork;
    RECT over = area;
    if (owner != nullptr)
        ::GetWindowRect(owner, &over);

    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    // A dialog larger than the work area shows its top-left corner.
    int left = std::max(std::min((over.left + over.right) / 2 - width / 2, area.right - width), area.left);
    int top = std::max(std::min((over.top + over.bottom) / 2 - height / 2, area.bottom - height), area.top);
    SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::EndDialog(int result)
{
    m_modalResult = result;
    m_modalRunning = false;
    // Wakes a loop that waits for a message.
    if (m_hWnd != nullptr)
        PostMessage(WM_NULL);
}

BOOL CDialog::UpdateData(BOOL saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.Failed();
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_INITDIALOG)
        return CWnd::OnWndMsg(message, wParam, lParam, result);
    RECT rectBefore;
    GetWindowRect(&rectBefore);
    DWORD styleBefore = GetStyle();
    BOOL handled = CWnd::OnWndMsg(message, wParam, lParam, result);
    CentreAfterInitialisation(rectBefore, styleBefore);
    return handled;
}

BOOL CDialog::PreTranslateMessage(MSG* message)
{
    if (m_hWnd == nullptr)
        return FALSE;
    return IsDialogMessageW(m_hWnd, message);
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::MessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_INITDIALOG)
    {
        *result = OnInitDialog();
        return TRUE;
    }
    if (message == WM_COMMAND)
    {
        UINT id = LOWORD(wParam);
        // A menu, an accelerator or a button click; other notifications of
        // controls are no commands.
        bool command = lParam == 0 || HIWORD(wParam) == BN_CLICKED;
        if (command && id == IDOK)
        {
            OnOK();
            *result = 0;
            return TRUE;
        }
        if (command && id == IDCANCEL)
        {
            OnCancel();
            *result = 0;
            return TRUE;
        }
        CWinApp* app = AfxGetApp();
        if (command && app != nullptr && app->OnCommand(id))
        {
            *result = 0;
            return TRUE;
        }
    }
    return CWnd::MessageMap(message, wParam, lParam, result);
}
