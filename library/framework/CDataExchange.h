#pragma once

#include <windows.h>

#include <string>

class CWnd;

// One data exchange between a dialog's controls and its members, in the
// direction that UpdateData asked for.
class CDataExchange
{
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate);

    // Control `id` of the dialog; null, and the exchange failed, when there
    // is none.
    HWND PrepareCtrl(int id);
    BOOL Failed() const { return m_failed; }

    // TRUE: controls to members; FALSE: members to controls.
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

private:
    BOOL m_failed = FALSE;
};

// Binds `control` to dialog control `id` (subclassing it) when it has no
// window yet, in both directions.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
// The whole text of control `id` to `value` or back, of any length.
void DDX_Text(CDataExchange* dx, int id, std::wstring& value);
