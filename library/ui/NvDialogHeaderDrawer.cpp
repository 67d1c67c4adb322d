#include "library/ui/NvDialogHeaderDrawer.h"

#include "library/framework/CDC.h"
#include "library/framework/CPen.h"
#include "library/framework/CWnd.h"

namespace
{
const COLORREF BandColor = RGB(254, 254, 254);
const COLORREF LineColor = RGB(128, 128, 128);
const int Margin = 10;
// DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS
const UINT TextFormat = 0xA010;
} // namespace

NvDialogHeaderDrawer::NvDialogHeaderDrawer()
{
    // The point font only supplies the face's other metrics; the size is
    // then fixed in logical units, whatever the screen's resolution.
    CFont pointFont;
    pointFont.CreatePointFont(100, "Tahoma");
    LOGFONTA logFont = {};
    pointFont.GetLogFont(&logFont);
    logFont.lfHeight = 13;
    logFont.lfWeight = FW_NORMAL;
    m_font.CreateFontIndirect(&logFont);
}

NvDialogHeaderDrawer::~NvDialogHeaderDrawer() = default;

void NvDialogHeaderDrawer::Init(CWnd* owner, int height, const std::wstring& text, HBITMAP picture,
                                COLORREF transparent)
{
    m_owner = owner;
    m_height = height;
    m_text = text;
    m_picture = BITMAP{};
    if (picture == nullptr || GetObjectA(picture, sizeof(m_picture), &m_picture) == 0)
        m_picture = BITMAP{};
    m_images.Create(m_picture.bmWidth, m_picture.bmHeight, ILC_COLOR32 | ILC_MASK, 0, 1);
    m_images.Add(picture, transparent);
}

void NvDialogHeaderDrawer::Draw(CDC* dc)
{
    if (m_owner == nullptr)
        return;
    RECT band;
    m_owner->GetClientRect(&band);
    band.bottom = band.top + m_height;
    dc->FillSolidRect(&band, BandColor);

    CPen pen(PS_SOLID, 1, LineColor);
    HGDIOBJ previousPen = dc->SelectObject(&pen);
    int height = band.bottom - band.top;
    dc->MoveTo(band.left, height - 2);
    dc->LineTo(band.right - 1, height - 2);
    dc->SelectObject(previousPen);

    RECT textRect = band;
    InflateRect(&textRect, -Margin, -Margin);
    if (m_picture.bmWidth > 0 && m_picture.bmHeight > 0)
    {
        POINT at = {band.right - m_picture.bmWidth - band.left - Margin,
                    static_cast<int>((band.bottom - m_picture.bmHeight - band.top) * 0.5)};
        m_images.Draw(dc, 0, at, ILD_TRANSPARENT);
        textRect.right -= m_picture.bmWidth + 2 * Margin;
    }

    HGDIOBJ previousFont = dc->SelectObject(&m_font);
    dc->DrawText(m_text, &textRect, TextFormat);
    dc->SelectObject(previousFont);
}
