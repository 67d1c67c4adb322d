#include "library/framework/CWnd.h"

#include "library/framework/AfxMessageBox.h"
#include "library/framework/CWinApp.h"
#include "library/base/TextConversion.h"

namespace
{
const char* const BindingProperty = "Straysweep.CWnd";

// The message being dispatched, for Default(). Nested dispatches save and
// restore it.
MSG g_currentMessage = {};

CWnd* g_windowToBind = nullptr;
HHOOK g_creationHook = nullptr;
} // namespace

CWnd::~CWnd()
{
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this)
    {
        // Unbound first: the window's last messages must not reach an object
        // that is half destroyed.
        HWND window = UnsubclassWindow();
        ::DestroyWindow(window);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND window)
{
    if (window == nullptr)
        return nullptr;
    return static_cast<CWnd*>(GetPropA(window, BindingProperty));
}

BOOL CWnd::SubclassWindow(HWND window)
{
    if (window == nullptr || m_hWnd != nullptr || !IsWindow(window) || FromHandlePermanent(window) != nullptr)
        return FALSE;
    Bind(window);
    return TRUE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd == nullptr || FromHandlePermanent(m_hWnd) != this)
        return nullptr;
    HWND window = m_hWnd;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
    RemovePropA(window, BindingProperty);
    m_hWnd = nullptr;
    m_superProc = nullptr;
    m_standIns.clear();
    return window;
}

void CWnd::Bind(HWND window)
{
    m_hWnd = window;
    SetPropA(window, BindingProperty, this);
    // Set with the wide function, so that the window stays a Unicode window:
    // one subclassed through the narrow one gets every text through the ANSI
    // code page, which loses the letters that it lacks.
    m_superProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WindowProcedure)));
}

void CWnd::UnbindDestroyed()
{
    UnsubclassWindow();
    CWinApp* app = AfxGetApp();
    if (app != nullptr && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR text, DWORD style, const RECT& rect, HWND parent, UINT id)
{
    if (m_hWnd != nullptr)
        return FALSE;
    BindNextCreatedWindow(this);
    std::wstring wideText = AnsiToWide(text != nullptr ? text : "");
    HWND window =
        CreateWindowExW(exStyle, AnsiToWide(className).c_str(), text != nullptr ? wideText.c_str() : nullptr, style,
                        rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    StopBindingCreatedWindows();
    return window != nullptr;
}

void CWnd::BindNextCreatedWindow(CWnd* object)
{
    g_windowToBind = object;
    if (g_creationHook == nullptr)
        g_creationHook = SetWindowsHookExA(WH_CBT, &CWnd::CreationHook, nullptr, GetCurrentThreadId());
}

void CWnd::StopBindingCreatedWindows()
{
    g_windowToBind = nullptr;
    if (g_creationHook != nullptr)
    {
        UnhookWindowsHookEx(g_creationHook);
        g_creationHook = nullptr;
    }
}

LRESULT CALLBACK CWnd::CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && g_windowToBind != nullptr)
    {
        CWnd* object = g_windowToBind;
        g_windowToBind = nullptr;
        object->Bind(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(g_creationHook, code, wParam, lParam);
}

LRESULT CALLBACK CWnd::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* object = FromHandlePermanent(window);
    if (object == nullptr)
        return ::DefWindowProcW(window, message, wParam, lParam);

    MSG previous = g_currentMessage;
    g_currentMessage = MSG{window, message, wParam, lParam, 0, {0, 0}};
    LRESULT result = 0;
    try
    {
        result = object->WindowProc(message, wParam, lParam);
    }
    catch (...)
    {
        result = ReportEscapedException(window, message);
    }
    g_currentMessage = previous;

    // The window's own procedure has had its last message: the object lets go.
    if (message == WM_NCDESTROY && FromHandlePermanent(window) == object)
        object->UnbindDestroyed();
    return result;
}

// The last catch before the system. A failed paint is validated so that it
// is not asked for again and again; a failed creation makes creation fail;
// anything else is told to the user once.
LRESULT CWnd::ReportEscapedException(HWND window, UINT message)
{
    switch (message)
    {
    case WM_PAINT:
        ValidateRect(window, nullptr);
        return 0;
    case WM_NCCREATE:
        return FALSE;
    case WM_CREATE:
        return -1;
    default:
        try
        {
            AfxMessageBox("Unhandled exception in window procedure.", MB_OK | MB_ICONERROR, 0);
        }
        catch (...)
        {
        }
        return 0;
    }
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return MessageMap(message, wParam, lParam, result);
}

BOOL CWnd::MessageMap(UINT message, WPARAM, LPARAM, LRESULT* result)
{
    if (message == WM_HELP && !(GetStyle() & WS_CHILD))
    {
        CWinApp* app = AfxGetApp();
        if (app != nullptr && app->m_pMainWnd != nullptr && app->m_pMainWnd->m_hWnd != nullptr)
        {
            app->m_pMainWnd->SendMessage(WM_COMMAND, ID_HELP, 0);
            *result = TRUE;
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT CWnd::Default()
{
    return DefWindowProc(g_currentMessage.message, g_currentMessage.wParam, g_currentMessage.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_superProc != nullptr)
        return CallWindowProcW(m_superProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnSetFocus(HWND)
{
    Default();
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int id)
{
    HWND child = ::GetDlgItem(m_hWnd, id);
    if (child == nullptr)
        return nullptr;
    if (CWnd* bound = FromHandlePermanent(child))
        return bound;
    for (const auto& standIn : m_standIns)
    {
        if (standIn->m_hWnd == child)
            return standIn.get();
    }
    m_standIns.push_back(std::make_unique<CWnd>());
    m_standIns.back()->m_hWnd = child;
    return m_standIns.back().get();
}

void CWnd::GetWindowRect(LPRECT rect) const
{
    ::GetWindowRect(m_hWnd, rect);
}

void CWnd::GetClientRect(LPRECT rect) const
{
    ::GetClientRect(m_hWnd, rect);
}

void CWnd::ScreenToClient(LPPOINT point) const
{
    ::ScreenToClient(m_hWnd, point);
}

void CWnd::Invalidate(BOOL erase)
{
    // A null window would invalidate every window of the desktop.
    if (m_hWnd != nullptr)
        ::InvalidateRect(m_hWnd, nullptr, erase);
}

void CWnd::SetFocus()
{
    ::SetFocus(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL enable)
{
    return ::EnableWindow(m_hWnd, enable);
}

BOOL CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd);
}

void CWnd::SetWindowText(LPCSTR text)
{
    ::SetWindowTextW(m_hWnd, AnsiToWide(text != nullptr ? text : "").c_str());
}

void CWnd::SetWindowText(const std::wstring& text)
{
    ::SetWindowTextW(m_hWnd, text.c_str());
}

void CWnd::GetWindowText(CString& text) const
{
    text = WideToAnsi(GetWindowTextWide());
}

std::wstring CWnd::GetWindowTextWide() const
{
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
    int read = ::GetWindowTextW(m_hWnd, &text[0], static_cast<int>(text.size()));
    text.resize(read > 0 ? static_cast<size_t>(read) : 0);
    return text;
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthA(m_hWnd);
}

DWORD CWnd::GetStyle() const
{
    return static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE));
}

void CWnd::ModifyStyle(DWORD remove, DWORD add)
{
    SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>((GetStyle() & ~remove) | add));
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}
