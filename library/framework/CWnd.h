#pragma once

#include "library/base/CString.h"

#include <windows.h>

#include <string>

#include <memory>
#include <vector>

// A C++ object bound to a window. Every message of a bound window goes
// through the framework's window procedure to OnWndMsg and from there to the
// class's message map (MessageMap); what the map leaves goes on to default
// processing: the window procedure the window had before it was bound.
// The window procedure catches every exception: none reaches the system.
// Single-threaded: windows and their objects live on the user-interface thread.
class CWnd
{
public:
    CWnd() = default;
    // A window still bound to this object is unbound, then destroyed.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object bound to `window`, or null.
    static CWnd* FromHandlePermanent(HWND window);

    // Binds this object to an existing window, putting the framework's window
    // procedure in place of the window's own. FALSE when `window` is null or
    // already bound, or this object already has a window; nothing changes then.
    BOOL SubclassWindow(HWND window);
    // Gives the window its own procedure back and unbinds it; returns the
    // window, or null when none was bound.
    HWND UnsubclassWindow();

    // Creates a window bound to this object from its first message on, so
    // that WM_NCCREATE and WM_CREATE reach the message map. FALSE when this
    // object already has a window or creation fails.
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR text, DWORD style, const RECT& rect, HWND parent, UINT id);

    // Destroys the window; FALSE when there is none or it cannot be destroyed.
    virtual BOOL DestroyWindow();

    // Dispatches one message of the bound window to the class's message map.
    // TRUE when handled, the result in *result; FALSE lets default processing
    // answer it.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Child control `id`, or null. A child without an object of its own gets a
    // stand-in that does not own it, kept until this window is unbound.
    CWnd* GetDlgItem(int id);
    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    // Invalidates the whole client area.
    void Invalidate(BOOL erase = TRUE);
    void SetFocus();
    // Returns whether the window was disabled before.
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsIconic() const;
    // The narrow forms go through the ANSI code page.
    void SetWindowText(LPCSTR text);
    void SetWindowText(const std::wstring& text);
    void GetWindowText(CString& text) const;
    std::wstring GetWindowTextWide() const;
    int GetWindowTextLength() const;
    DWORD GetStyle() const;
    // Clears the `remove` style bits and sets the `add` bits.
    void ModifyStyle(DWORD remove, DWORD add);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    HWND m_hWnd = nullptr;

protected:
    // The class's message map: handles the messages the class handles (TRUE,
    // result set) and passes every other one to its base class's map. This
    // base map turns WM_HELP on a top-level window into the ID_HELP command
    // sent to the main window.
    virtual BOOL MessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Default processing of the message being dispatched to this window.
    LRESULT Default();
    // Default processing of any message: the window's own procedure.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Handlers whose framework versions are default processing.
    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    void OnSetFocus(HWND previous);

    // Binds the next window the thread creates to `object`, before its first
    // message; used around the system call that creates it. Stop after the
    // call, whether or not a window was made.
    static void BindNextCreatedWindow(CWnd* object);
    static void StopBindingCreatedWindows();

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT ReportEscapedException(HWND window, UINT message);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    void Bind(HWND window);
    void UnbindDestroyed();

    WNDPROC m_superProc = nullptr;
    std::vector<std::unique_ptr<CWnd>> m_standIns;
};
