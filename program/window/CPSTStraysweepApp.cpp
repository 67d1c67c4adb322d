#include "program/window/CPSTStraysweepApp.h"

#include "program/core/CLogFile.h"
#include "program/window/CPSTStraysweepDlg.h"
#include "program/window/LanguageResources.h"
#include "program/core/ProductFolder.h"

#include <cstdlib>
#include <cstring>

BOOL CPSTStraysweepApp::InitInstance()
{
    CWinApp::InitInstance();

    std::free(const_cast<char*>(m_pszAppName));
    m_pszAppName = _strdup(ProductName);

    CString refusedModule = LoadLanguageResources(GetLanguageResources());

    CLogFile& log = CLogFile::Instance();
    log.OpenWithSizeLimit();
    log.Info(" ");
    log.Info("-------------------------------------------------");
    log.Info("Program started.");
    if (!refusedModule.IsEmpty())
        log.Error(refusedModule);

    CPSTStraysweepDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    return FALSE;
}

int CPSTStraysweepApp::ExitInstance()
{
    CLogFile& log = CLogFile::Instance();
    log.Info("Program exit.");
    log.Close();
    UnloadLanguageResources(GetLanguageResources());
    return CWinApp::ExitInstance();
}

BOOL CPSTStraysweepApp::OnCommand(UINT id)
{
    if (id == ID_HELP)
    {
        OnHelp();
        return TRUE;
    }
    return CWinApp::OnCommand(id);
}
