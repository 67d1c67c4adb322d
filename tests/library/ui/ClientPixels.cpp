#include "tests/library/ui/ClientPixels.h"

#include "library/framework/WindowHandles.h"

#include <stdexcept>

ClientPixels::ClientPixels(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client;
    GetClientRect(window, &client);
    m_width = client.right;
    m_height = client.bottom;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = -m_height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    UniqueBitmap bitmap(CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (bitmap)
    {
        HGDIOBJ previous = SelectObject(memoryDc, bitmap.Get());
        BitBlt(memoryDc, 0, 0, m_width, m_height, windowDc, 0, 0, SRCCOPY);
        SelectObject(memoryDc, previous);
    }
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    if (!bitmap)
        throw std::runtime_error("cannot read the window's pixels");

    const auto* pixels = static_cast<const DWORD*>(bits);
    m_pixels.reserve(static_cast<size_t>(m_width) * static_cast<size_t>(m_height));
    for (int i = 0; i < m_width * m_height; ++i)
    {
        DWORD bgr = pixels[i];
        m_pixels.push_back(RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF));
    }
}

COLORREF ClientPixels::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        throw std::out_of_range("pixel outside the client area");
    return m_pixels[static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)];
}

int ClientPixels::Count(const RECT& rect, COLORREF color) const
{
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
    {
        for (int x = rect.left; x < rect.right; ++x)
        {
            if (At(x, y) == color)
                ++count;
        }
    }
    return count;
}
