#include "library/ui/NvDialog.h"

#include "library/error/NvException.h"
#include "library/framework/AfxMessageBox.h"

NvDialog::NvDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent)
{
}

NvDialog::~NvDialog() = default;

BOOL NvDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    try
    {
        return CDialog::OnWndMsg(message, wParam, lParam, result);
    }
    catch (const Error::NvException& e)
    {
        e.ShowMessage(MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
    }
    catch (...)
    {
        AfxMessageBox("Unhandled exception in Nv window.", 0, 0);
    }
    return FALSE;
}
