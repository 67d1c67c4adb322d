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

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    if (dx->Failed())
        return;
    HWND window = dx->PrepareCtrl(id);
    if (window == nullptr)
        return;
    if (dx->m_bSaveAndValidate)
    {
        int length = GetWindowTextLengthA(window);
        CString text;
        int read = GetWindowTextA(window, text.GetBuffer(length), length + 1);
        text.ReleaseBuffer(read);
        value = text;
    }
    else
    {
        SetWindowTextA(window, value);
    }
}
