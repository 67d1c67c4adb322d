#include "library/framework/CWinApp.h"

#include "library/base/CString.h"
#include "library/framework/CWnd.h"

#include <cstdlib>
#include <cstring>

namespace
{
CWinApp*& CurrentApp()
{
    static CWinApp* app = nullptr;
    return app;
}

// The executable's path with its extension cut off, or empty.
CString ExecutablePathWithoutExtension()
{
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return CString();
    char* name = std::strrchr(path, '\\');
    char* dot = std::strrchr(name != nullptr ? name : path, '.');
    if (dot != nullptr)
        *dot = '\0';
    return CString(path);
}
} // namespace

CWinApp::CWinApp(LPCSTR appName)
{
    if (appName != nullptr)
    {
        m_pszAppName = _strdup(appName);
    }
    else
    {
        CString path = ExecutablePathWithoutExtension();
        const char* name = std::strrchr(path.GetString(), '\\');
        m_pszAppName = _strdup(name != nullptr ? name + 1 : path.GetString());
    }
    CurrentApp() = this;
}

CWinApp::~CWinApp()
{
    free(const_cast<char*>(m_pszAppName));
    if (CurrentApp() == this)
        CurrentApp() = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

BOOL CWinApp::OnCommand(UINT)
{
    return FALSE;
}

void CWinApp::OnHelp()
{
    CString helpFile = ExecutablePathWithoutExtension();
    if (helpFile.IsEmpty())
        return;
    helpFile += ".hlp";
    HWND owner = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    WinHelpA(owner, helpFile, HELP_FINDER, 0);
}

CWinApp* AfxGetApp()
{
    return CurrentApp();
}
