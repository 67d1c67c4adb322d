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
    // Once OnInitDialog has run, a dialog that is still hidden and did not
    // move, whose template places it nowhere (x and y 0; no DS_CENTER,
    // DS_CENTERMOUSE or DS_ABSALIGN) and whose owner is disabled or missing
    // is centred: over a visible, not minimised owner, otherwise on the work
    // area of its monitor; either way kept inside that work area.
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

    // CWnd's dispatch; WM_INITDIALOG is followed by the centring that DoModal
    // describes.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

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
    void CentreAfterInitialisation(const RECT& rectBefore, DWORD styleBefore);

    UINT m_templateId;
    CWnd* m_parent;
    bool m_modalRunning = false;
    bool m_templateLeavesPlacement = false;
    INT_PTR m_modalResult = -1;
};
