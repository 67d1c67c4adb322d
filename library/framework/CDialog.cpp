#include "library/framework/CDialog.h"

#include "library/framework/AfxResource.h"
#include "library/framework/CWinApp.h"

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
    HWND window = CreateDialogIndirectParamA(module, dialogTemplate, owner, &CDialog::DialogProcedure, 0);
    StopBindingCreatedWindows();

    if (window != nullptr)
    {
        if (m_modalRunning && !IsWindowVisible(window))
            ::ShowWindow(window, SW_SHOWNORMAL);
        MSG message;
        while (m_modalRunning && m_hWnd != nullptr)
        {
            BOOL got = GetMessageA(&message, nullptr, 0, 0);
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
                DispatchMessageA(&message);
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

BOOL CDialog::PreTranslateMessage(MSG* message)
{
    if (m_hWnd == nullptr)
        return FALSE;
    return IsDialogMessageA(m_hWnd, message);
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
