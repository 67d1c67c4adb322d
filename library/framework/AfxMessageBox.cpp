#include "library/framework/AfxMessageBox.h"

#include "library/base/AfxResource.h"
#include "library/base/CString.h"
#include "library/base/TextConversion.h"
#include "library/framework/CWinApp.h"
#include "library/framework/CWnd.h"

namespace
{
UINT WithDefaultIcon(UINT type)
{
    if ((type & MB_ICONMASK) != 0)
        return type;
    switch (type & MB_TYPEMASK)
    {
    case MB_OK:
    case MB_OKCANCEL:
        return type | MB_ICONEXCLAMATION;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return type | MB_ICONQUESTION;
    default:
        return type;
    }
}
} // namespace

int AfxMessageBox(LPCSTR text, UINT type, UINT helpId)
{
    return AfxMessageBox(AnsiToWide(text != nullptr ? text : ""), type, helpId);
}

int AfxMessageBox(const std::wstring& text, UINT type, UINT)
{
    CWinApp* app = AfxGetApp();
    HWND owner = nullptr;
    if (app != nullptr && app->m_pMainWnd != nullptr && IsWindow(app->m_pMainWnd->m_hWnd))
        owner = app->m_pMainWnd->m_hWnd;
    std::wstring caption = app != nullptr && app->m_pszAppName != nullptr ? AnsiToWide(app->m_pszAppName) : L"";
    return MessageBoxW(owner, text.c_str(), app != nullptr ? caption.c_str() : nullptr, WithDefaultIcon(type));
}

int AfxMessageBox(UINT textId, UINT type, UINT helpId)
{
    return AfxMessageBox(AfxLoadWideString(textId), type, helpId);
}
