#pragma once

#include <windows.h>

#include <string>

class CFont;
class CPen;

// A device context used for drawing; this class does not own it (CPaintDC
// and CClientDC do).
class CDC
{
public:
    explicit CDC(HDC dc = nullptr) : m_hDC(dc) {}
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Select the object and return the one of its kind that was selected,
    // for selecting back.
    HGDIOBJ SelectObject(CFont* font);
    HGDIOBJ SelectObject(CPen* pen);
    HGDIOBJ SelectObject(HGDIOBJ object);

    // Fills the rectangle with a solid colour; the background colour is left
    // as it was.
    void FillSolidRect(LPCRECT rect, COLORREF color);
    void MoveTo(int x, int y);
    // Draws from the current position up to, not including, (x, y).
    void LineTo(int x, int y);
    int DrawText(LPCSTR text, LPRECT rect, UINT format);
    int DrawText(const std::wstring& text, LPRECT rect, UINT format);
    void DrawFocusRect(LPCRECT rect);
    int SetBkMode(int mode);
    COLORREF SetTextColor(COLORREF color);

    HDC GetSafeHdc() const { return m_hDC; }

    HDC m_hDC;
};
