#pragma once

#include "library/framework/CWnd.h"

// A tooltip control. Tools are registered by window handle, without
// subclassing: the owner relays the mouse messages (RelayEvent).
class CToolTipCtrl : public CWnd
{
public:
    // A tooltip window owned by `parent`, with WS_POPUP and `style`; FALSE
    // when it cannot be made (the common controls missing, for one).
    BOOL Create(CWnd* parent, DWORD style = 0);
    void Activate(BOOL activate);
    // Registers `window` as a tool with `text` (copied by the control). With
    // no rectangle and tool id 0 the whole window is the tool, identified by
    // its handle and owned by its parent; otherwise the rectangle of
    // `window` with that id.
    BOOL AddTool(CWnd* window, const std::wstring& text, LPCRECT rect = nullptr, UINT_PTR toolId = 0);
    // Hands a mouse message to the control (TTM_RELAYEVENT).
    void RelayEvent(LPMSG message);
};
