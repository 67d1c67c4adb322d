#include "library/framework/CDataExchange.h"

#include "library/framework/CWnd.h"

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (control == nullptr)
        m_failed = TRUE;
    return control;
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (dx->Failed() || control.m_hWnd != nullptr)
        return;
    HWND window = dx->PrepareCtrl(id);
    if (window != nullptr)
        control.SubclassWindow(window);
}

void DDX_Text(CDataExchange* dx, int id, std::wstring& value)
{
    if (dx->Failed())
        return;
    HWND window = dx->PrepareCtrl(id);
    if (window == nullptr)
        return;
    if (dx->m_bSaveAndValidate)
    {
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
        int read = GetWindowTextW(window, &text[0], static_cast<int>(text.size()));
        text.resize(read > 0 ? static_cast<size_t>(read) : 0);
        value = text;
    }
    else
    {
        SetWindowTextW(window, value.c_str());
    }
}
