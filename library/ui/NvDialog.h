#pragma once

#include "library/framework/CDialog.h"

// A dialog whose message dispatch runs inside an exception guard: whatever a
// handler lets out is shown to the user and the dialog goes on running.
class NvDialog : public CDialog
{
public:
    NvDialog(UINT templateId, CWnd* parent = nullptr);
    ~NvDialog() override;

    // The framework's dispatch. An Error::NvException from a handler is shown
    // by its ShowMessage (MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST), any
    // other exception by the framework box "Unhandled exception in Nv
    // window."; the message then counts as not handled (FALSE).
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
