#pragma once

#include <windows.h>

#include <vector>

// A window's client area as it stands painted, read back pixel by pixel.
class ClientPixels
{
public:
    // Finishes any pending painting of the window and its children first.
    explicit ClientPixels(HWND window);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The colour at client coordinates (x, y) as a COLORREF.
    COLORREF At(int x, int y) const;
    // How many pixels of the rectangle have that colour.
    int Count(const RECT& rect, COLORREF color) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels;
};
