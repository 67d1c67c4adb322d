#include "library/framework/CPen.h"

CPen::CPen(int style, int width, COLORREF color)
{
    CreatePen(style, width, color);
}

BOOL CPen::CreatePen(int style, int width, COLORREF color)
{
    m_pen.Reset(::CreatePen(style, width, color));
    return m_pen.IsValid();
}
