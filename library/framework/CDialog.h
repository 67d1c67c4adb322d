#pragma once

#include "library/framework/CDataExchange.h"
#include "library/framework/CWnd.h"

// A modal dialog built from a dialog template of the current resource module
// (AfxGetResourceHandle). DoModal runs the dialog's own message loop, which
// offers every message to PreTranslateMessage first.
class CDialog : public CWnd
{
public:
    // No window yet. Without a parent the main window, when there is one and
    // it is not this dialog, owns the dialog.
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Creates the dialog, disables its owner, runs the modal loop until
    // EndDialog, hides the dialog, enables the owner again, calls
    // DestroyWindow and returns EndDialog's result. -1 without running when
    // the template is missing, the window cannot be created or already exists.
    virtual INT_PTR DoModal();

    // Ends the modal loop with `result` once the current message is handled.
    void EndDialog(int result);

    // Data exchange through DoDataExchange: TRUE controls to members, FALSE
    // members to controls. FALSE when a control it names is missing.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Called by the modal loop for every message before it is dispatched;
    // TRUE when the message was handled and must not be dispatched. The
    // default runs the dialog keyboard (IsDialogMessage).
    virtual BOOL PreTranslateMessage(MSG* message);

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    // WM_INITDIALOG; the default fills the controls (UpdateData(FALSE)) and
    // returns TRUE: the system then focuses the first tab stop.
    virtual BOOL OnInitDialog();
    // IDOK; the default takes the controls' data and ends with IDOK.
    virtual void OnOK();
    // IDCANCEL (also Esc and the close box); the default ends with IDCANCEL.
    virtual void OnCancel();

    // WM_INITDIALOG to OnInitDialog; the commands IDOK and IDCANCEL to OnOK
    // and OnCancel; every other command to the application's command map.
    BOOL MessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND OwnerWindow() const;

    UINT m_templateId;
    CWnd* m_parent;
    bool m_modalRunning = false;
    INT_PTR m_modalResult = -1;
};
