#include "library/framework/CDC.h"

#include "library/framework/CFont.h"
#include "library/framework/CPen.h"

HGDIOBJ CDC::SelectObject(CFont* font)
{
    return SelectObject(font->GetSafeHandle());
}

HGDIOBJ CDC::SelectObject(CPen* pen)
{
    return SelectObject(pen->GetSafeHandle());
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object)
{
    if (object == nullptr)
        return nullptr;
    return ::SelectObject(m_hDC, object);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    // An opaque empty text output is the cheapest solid fill with no brush.
    COLORREF previous = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

void CDC::MoveTo(int x, int y)
{
    ::MoveToEx(m_hDC, x, y, nullptr);
}

void CDC::LineTo(int x, int y)
{
    ::LineTo(m_hDC, x, y);
}

int CDC::DrawText(LPCSTR text, LPRECT rect, UINT format)
{
    return ::DrawTextA(m_hDC, text, -1, rect, format);
}

int CDC::DrawText(const std::wstring& text, LPRECT rect, UINT format)
{
    return ::DrawTextW(m_hDC, text.c_str(), static_cast<int>(text.size()), rect, format);
}

void CDC::DrawFocusRect(LPCRECT rect)
{
    ::DrawFocusRect(m_hDC, rect);
}

int CDC::SetBkMode(int mode)
{
    return ::SetBkMode(m_hDC, mode);
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    return ::SetTextColor(m_hDC, color);
}
