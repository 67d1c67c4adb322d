#pragma once

#include "library/framework/CDC.h"

class CWnd;

// The client-area context of a window (GetDC); the destructor selects back
// what was selected in it and releases it.
class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* window);
    ~CClientDC() override;

private:
    HWND m_hWnd;
    int m_savedState;
};
