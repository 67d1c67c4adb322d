#pragma once

#include "library/framework/WindowHandles.h"

// A pen, owned: deleted by the destructor.
class CPen
{
public:
    CPen() = default;
    // Creates the pen at once; GetSafeHandle is null when that failed.
    CPen(int style, int width, COLORREF color);
    // FALSE on failure, no pen then.
    BOOL CreatePen(int style, int width, COLORREF color);

    HPEN GetSafeHandle() const { return m_pen.Get(); }
    operator HPEN() const { return m_pen.Get(); }

private:
    UniquePen m_pen;
};
