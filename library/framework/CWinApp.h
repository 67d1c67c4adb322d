#pragma once

#include <windows.h>

class CWnd;

// The framework's Help command.
constexpr UINT ID_HELP = 0xE146;

// The program's application object: start-up and shut-down around the main
// window. The framework's WinMain (AfxWinMain.cpp) registers the common
// controls, then runs InitInstance and then ExitInstance (exit code -1, and
// neither runs, without an application or the common controls); there is no
// message loop of the framework's own in between.
class CWinApp
{
public:
    // Becomes the program's application (AfxGetApp). A null name gives the
    // executable's file name without its extension.
    explicit CWinApp(LPCSTR appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Start-up; the result is not looked at. The default does nothing, TRUE.
    virtual BOOL InitInstance();
    // Shut-down; the result is the process exit code. The default gives 0.
    virtual int ExitInstance();

    // The application's command map: TRUE when it handled command `id`.
    // Commands that a dialog does not handle itself come here (ID_HELP from
    // F1, for one). The default handles none.
    virtual BOOL OnCommand(UINT id);

    // The default Help command handler: the application's help file (the
    // executable's path with ".hlp") for the main window, through WinHelp.
    void OnHelp();

    // The name: message-box caption and the like. A malloc'ed copy owned by
    // this object: free() it before putting another malloc'ed copy here.
    LPCSTR m_pszAppName = nullptr;
    // The main window, or null. Cleared when that window is destroyed.
    CWnd* m_pMainWnd = nullptr;
};

// The application object, or null before it exists.
CWinApp* AfxGetApp();
