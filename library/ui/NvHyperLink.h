#pragma once

#include "library/framework/CFont.h"
#include "library/base/CString.h"
#include "library/framework/CToolTipCtrl.h"
#include "library/framework/CWnd.h"
#include "library/framework/WindowHandles.h"

#include <optional>
#include <string>

class CDC;

// Turns a window, usually a static text control, into a link: link colours,
// an underlined font, a hand cursor over the text, a tooltip, activation by
// mouse or by the characters Enter and space; activating it opens the target
// with the shell. A static showing a picture or frame is a link without text:
// it keeps its own painting, font and colours and its whole client area is
// the link.
class NvHyperLink : public CWnd
{
public:
    NvHyperLink();
    ~NvHyperLink() override;

    // Prepares the link once its window exists: runs on WM_CREATE of a link
    // created as such; call it right after subclassing an existing control.
    // Takes the window's text as caption when none is set, the caption as
    // target when none is set, and the Internet Explorer link colours.
    virtual void InitLink();
    // Paints the shown text (caption, else target) in the link colour, or
    // the visited colour once visited, with a focus rectangle while focused.
    virtual void DrawLink(CDC* dc);
    // Opens the target with the shell ("open") when it is an http:, https:
    // or mailto: address (any letter case); true on success, which makes the
    // link visited and repaints it. False and no change otherwise.
    virtual bool OpenLink();

    // Copies the text as the caption (null: empty) and recomputes the text
    // rectangle. Narrow text goes through the ANSI code page.
    void SetLinkText(LPCSTR text);
    void SetLinkText(const std::wstring& text);
    // Copies the text as the target; the text rectangle is recomputed only
    // when there is no caption.
    void SetLinkTarget(LPCSTR text);
    void SetLinkTarget(const std::wstring& text);
    // The text rectangle becomes the area of the shown text (the client area
    // for a link without text); false without window or without any text.
    bool UpdateTextRect();

    // Tooltip text, read by InitLink; empty: the target.
    void SetTooltipText(const std::wstring& text) { m_tooltipText = text; }
    void SetLinkColor(COLORREF color) { m_linkColor = color; }
    void SetVisitedColor(COLORREF color) { m_visitedColor = color; }
    COLORREF GetLinkColor() const { return m_linkColor; }
    COLORREF GetVisitedColor() const { return m_visitedColor; }
    bool IsVisited() const { return m_visited; }
    bool IsTextLink() const { return m_textLink; }
    // Client coordinates.
    const RECT& GetTextRect() const { return m_textRect; }
    // The underlined font, or null for a link without text or a parent
    // without font.
    HFONT GetLinkFont() const { return m_linkFont.GetSafeHandle(); }
    // The owner relays its mouse messages to it (RelayEvent).
    CToolTipCtrl& GetToolTip() { return m_tooltip; }

    // "red,green,blue" as in the Internet Explorer settings, e.g. "0,0,255"
    // gives 0xFF0000; each part cut to 8 bits, a part that is no number
    // counts as 0. (COLORREF)-1 when a comma is missing, nothing follows the
    // second one, or red or green is -1. Cuts `text` at its commas.
    static COLORREF ParseColorText(LPSTR text);

    // The built-in hand cursor (32 by 32, hotspot 5,0) for systems without
    // one; the caller destroys it. Null on failure.
    static HCURSOR CreateHandCursor();

protected:
    BOOL MessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    // The caption, else the target; null when there is neither.
    const std::wstring* ShownText() const;
    UINT TextAlignment() const;
    bool IsInTextRect(LPARAM point) const;
    void ReadColors();

    CFont m_linkFont;
    std::wstring m_tooltipText;
    CToolTipCtrl m_tooltip;
    std::optional<std::wstring> m_target;
    std::optional<std::wstring> m_caption;
    HCURSOR m_handCursor = nullptr;
    UniqueCursor m_ownHandCursor;
    RECT m_textRect = {};
    bool m_textLink = true;
    bool m_visited = false;
    COLORREF m_linkColor = RGB(0, 0, 255);
    COLORREF m_visitedColor = RGB(128, 0, 128);
};
