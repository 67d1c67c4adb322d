#pragma once

#include "library/framework/WindowHandles.h"

class CDC;

// A font, owned: deleted by DeleteObject, by creating another one or by the
// destructor.
class CFont
{
public:
    // A font of `pointSize` tenths of a point of face `faceName`, its height
    // converted for `dc` (the screen when null); the character set is
    // DEFAULT_CHARSET and every other field 0. FALSE on failure, no font then.
    BOOL CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc = nullptr);
    // FALSE on failure, no font then.
    BOOL CreateFontIndirect(const LOGFONTA* logFont);
    // Fills `logFont`; 0 when there is no font.
    int GetLogFont(LOGFONTA* logFont) const;
    void DeleteObject() { m_font.Reset(); }

    HFONT GetSafeHandle() const { return m_font.Get(); }
    operator HFONT() const { return m_font.Get(); }

private:
    UniqueFont m_font;
};
