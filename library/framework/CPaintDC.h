#pragma once

#include "library/framework/CDC.h"

class CWnd;

// The paint context of a window for one WM_PAINT: BeginPaint on construction;
// the destructor selects back what was selected in it and ends painting.
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
    int m_savedState;
};
