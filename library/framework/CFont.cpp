#include "library/framework/CFont.h"

#include "library/framework/CDC.h"

#include <cstdlib>

BOOL CFont::CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc)
{
    LOGFONTA logFont = {};
    logFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(logFont.lfFaceName, faceName, LF_FACESIZE);

    HDC screen = dc == nullptr ? GetDC(nullptr) : nullptr;
    HDC target = dc != nullptr ? dc->m_hDC : screen;
    // Tenths of a point to device pixels (72 points an inch), then to the
    // context's logical units; negative: a character height, not a cell.
    POINT height = {0, MulDiv(GetDeviceCaps(target, LOGPIXELSY), pointSize, 720)};
    POINT origin = {0, 0};
    DPtoLP(target, &height, 1);
    DPtoLP(target, &origin, 1);
    logFont.lfHeight = -std::abs(height.y - origin.y);
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return CreateFontIndirect(&logFont);
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* logFont)
{
    m_font.Reset(::CreateFontIndirectA(logFont));
    return m_font.IsValid();
}

int CFont::GetLogFont(LOGFONTA* logFont) const
{
    if (!m_font.IsValid())
        return 0;
    return GetObjectA(m_font.Get(), sizeof(*logFont), logFont);
}
