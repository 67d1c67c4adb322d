#include "library/ui/NvHyperLink.h"

#include "library/base/AfxResource.h"
#include "library/framework/CClientDC.h"
#include "library/framework/CPaintDC.h"
#include "library/base/RegistryKey.h"
#include "library/base/TextConversion.h"

#include <shellapi.h>

#include <cstring>
#include <cwchar>
#include <string>

namespace
{
const wchar_t* const ColorsKeyPath = L"Software\\Microsoft\\Internet Explorer\\Settings";
// "255,255,255" and its terminating zero; anything longer is no colour.
const DWORD ColorTextCapacity = 12;

// The built-in hand: 'X' black, 'o' white, '.' transparent; the rest of the
// 32 by 32 cursor is transparent.
const char* const HandRows[] = {
    ".....XX..........", "....XooX.........", "....XooX.........", "....XooX.........", "....XooX.........",
    "....XooXXX.......", "....XooXooXXX....", "....XooXooXooXX..", ".XX.XooXooXooXoX.", "XooXXooXooXooXooX",
    "XoooXoooooooooooX", ".XooXoooooooooooX", ".XooooooooooooooX", "..XoooooooooooooX", "..XooooooooooooX.",
    "...XoooooooooooX.", "...XooooooooooX..", "....XoooooooooX..", "....XooooooooX...", ".....XoooooooX...",
    ".....XoooooooX...", ".....XXXXXXXXX...",
};
const int CursorSize = 32;
const int CursorRowBytes = CursorSize / 8;

// A link opens web pages and mail only: the shell would run a program, open
// a file or a folder named by the target just as readily, and a target may
// come from a language module that anybody could have put beside the program.
bool IsWebOrMailTarget(const std::wstring& target)
{
    for (const wchar_t* scheme : {L"http:", L"https:", L"mailto:"})
    {
        if (_wcsnicmp(target.c_str(), scheme, std::wcslen(scheme)) == 0)
            return true;
    }
    return false;
}

bool IsPictureStatic(DWORD style)
{
    switch (style & SS_TYPEMASK)
    {
    case SS_ICON:
    case SS_BLACKRECT:
    case SS_GRAYRECT:
    case SS_WHITERECT:
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
    case SS_OWNERDRAW:
    case SS_BITMAP:
    case SS_ENHMETAFILE:
        return true;
    default:
        return false;
    }
}
} // namespace

NvHyperLink::NvHyperLink() = default;

NvHyperLink::~NvHyperLink() = default;

void NvHyperLink::SetLinkText(LPCSTR text)
{
    SetLinkText(AnsiToWide(text != nullptr ? text : ""));
}

void NvHyperLink::SetLinkText(const std::wstring& text)
{
    m_caption = text;
    UpdateTextRect();
}

void NvHyperLink::SetLinkTarget(LPCSTR text)
{
    SetLinkTarget(AnsiToWide(text != nullptr ? text : ""));
}

void NvHyperLink::SetLinkTarget(const std::wstring& text)
{
    m_target = text;
    if (!m_caption)
        UpdateTextRect();
}

const std::wstring* NvHyperLink::ShownText() const
{
    return m_caption ? &*m_caption : m_target ? &*m_target : nullptr;
}

UINT NvHyperLink::TextAlignment() const
{
    DWORD style = GetStyle();
    if (style & SS_CENTER)
        return DT_CENTER;
    if (style & SS_RIGHT)
        return DT_RIGHT;
    return DT_LEFT;
}

bool NvHyperLink::UpdateTextRect()
{
    if (m_hWnd == nullptr || !IsWindow(m_hWnd) || ShownText() == nullptr)
        return false;
    GetClientRect(&m_textRect);
    if (m_textLink)
    {
        CClientDC dc(this);
        HGDIOBJ previousFont = dc.SelectObject(&m_linkFont);
        dc.DrawText(*ShownText(), &m_textRect, TextAlignment() | DT_CALCRECT | DT_WORDBREAK);
        dc.SelectObject(previousFont);
    }
    return true;
}

HCURSOR NvHyperLink::CreateHandCursor()
{
    BYTE andPlane[CursorSize * CursorRowBytes];
    BYTE xorPlane[CursorSize * CursorRowBytes];
    std::memset(andPlane, 0xFF, sizeof(andPlane));
    std::memset(xorPlane, 0, sizeof(xorPlane));
    int row = 0;
    for (const char* line : HandRows)
    {
        for (int column = 0; line[column] != '\0'; ++column)
        {
            BYTE bit = static_cast<BYTE>(0x80 >> (column % 8));
            int index = row * CursorRowBytes + column / 8;
            if (line[column] == '.')
                continue;
            andPlane[index] = static_cast<BYTE>(andPlane[index] & ~bit);
            if (line[column] == 'o')
                xorPlane[index] = static_cast<BYTE>(xorPlane[index] | bit);
        }
        ++row;
    }
    return CreateCursor(AfxGetInstanceHandle(), 5, 0, CursorSize, CursorSize, andPlane, xorPlane);
}

void NvHyperLink::InitLink()
{
    char className[8] = {};
    GetClassNameA(m_hWnd, className, sizeof(className));
    if (lstrcmpiA(className, "static") == 0)
    {
        // Without SS_NOTIFY a static lets every mouse message through to its
        // parent.
        ModifyStyle(0, SS_NOTIFY);
        // The type is the low five bits: a picture static with a further flag
        // (SS_REALSIZECONTROL, SS_NOPREFIX) still shows no text.
        m_textLink = !IsPictureStatic(GetStyle());
    }

    m_handCursor = LoadCursorA(nullptr, IDC_HAND);
    if (m_handCursor == nullptr)
    {
        m_ownHandCursor.Reset(CreateHandCursor());
        m_handCursor = m_ownHandCursor.Get();
    }

    if (m_textLink)
    {
        auto parentFont = reinterpret_cast<HFONT>(::SendMessageA(::GetParent(m_hWnd), WM_GETFONT, 0, 0));
        LOGFONTA logFont = {};
        if (parentFont != nullptr && GetObjectA(parentFont, sizeof(logFont), &logFont) != 0)
        {
            logFont.lfUnderline = TRUE;
            m_linkFont.CreateFontIndirect(&logFont);
        }
    }

    if (!m_caption)
    {
        std::wstring text = GetWindowTextWide();
        if (!text.empty())
            SetLinkText(text);
    }
    if (!m_target && m_caption)
        SetLinkTarget(*m_caption);
    UpdateTextRect();

    m_tooltip.Create(this, 0);
    m_tooltip.Activate(TRUE);
    m_tooltip.AddTool(this, !m_tooltipText.empty() ? m_tooltipText : m_target ? *m_target : std::wstring());

    if (m_textLink)
        ReadColors();
}

void NvHyperLink::ReadColors()
{
    RegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, ColorsKeyPath, KEY_READ | KEY_WRITE) != ERROR_SUCCESS)
        return;
    const struct
    {
        const wchar_t* name;
        COLORREF* color;
    } values[] = {{L"Anchor Color", &m_linkColor}, {L"Anchor Color Visited", &m_visitedColor}};
    for (const auto& value : values)
    {
        std::wstring text;
        if (key.QueryStringValue(value.name, text, ColorTextCapacity) != ERROR_SUCCESS)
            continue;
        std::string narrow = WideToAnsi(text).Str();
        COLORREF color = ParseColorText(&narrow[0]);
        if (color != static_cast<COLORREF>(-1))
            *value.color = color;
    }
}

COLORREF NvHyperLink::ParseColorText(LPSTR text)
{
    int parts[2] = {};
    LPSTR part = text;
    for (int& value : parts)
    {
        LPSTR comma = part;
        while (*comma != '\0' && *comma != ',')
            comma = CharNextA(comma);
        if (*comma == '\0')
            return static_cast<COLORREF>(-1);
        *comma = '\0';
        value = atoi(part);
        if (value == -1)
            return static_cast<COLORREF>(-1);
        part = comma + 1;
    }
    if (*part == '\0')
        return static_cast<COLORREF>(-1);
    int blue = atoi(part);
    return RGB(parts[0] & 0xFF, parts[1] & 0xFF, blue & 0xFF);
}

void NvHyperLink::DrawLink(CDC* dc)
{
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(m_visited ? m_visitedColor : m_linkColor);
    dc->SelectObject(&m_linkFont);
    const std::wstring* text = ShownText();
    dc->DrawText(text != nullptr ? *text : std::wstring(), &m_textRect, TextAlignment() | DT_WORDBREAK);
    if (::GetFocus() == m_hWnd)
        dc->DrawFocusRect(&m_textRect);
}

bool NvHyperLink::OpenLink()
{
    if (!m_target || !IsWebOrMailTarget(*m_target))
        return false;
    auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", m_target->c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32)
        return false;
    m_visited = true;
    Invalidate(TRUE);
    return true;
}

bool NvHyperLink::IsInTextRect(LPARAM point) const
{
    // Signed: a point left of or above a window that holds the capture.
    POINT at = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    return PtInRect(&m_textRect, at) != FALSE;
}

BOOL NvHyperLink::MessageMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message)
    {
    case WM_CREATE:
        *result = Default();
        if (*result != -1)
        {
            InitLink();
            *result = 0;
        }
        return TRUE;
    case WM_ERASEBKGND:
        *result = Default();
        return TRUE;
    case WM_PAINT:
        // A picture or frame static paints itself.
        if (!m_textLink)
            return FALSE;
        {
            CPaintDC dc(this);
            DrawLink(&dc);
        }
        *result = 0;
        return TRUE;
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<HWND>(wParam));
        if (m_textLink)
            Invalidate(TRUE);
        *result = 0;
        return TRUE;
    case WM_KILLFOCUS:
        *result = Default();
        if (m_textLink)
            Invalidate(TRUE);
        return TRUE;
    case WM_MOUSEMOVE:
        *result = Default();
        if (m_target && IsInTextRect(lParam))
            SetCursor(m_handCursor);
        return TRUE;
    case WM_LBUTTONDOWN:
        *result = Default();
        if (IsInTextRect(lParam))
        {
            SetFocus();
            SetCapture(m_hWnd);
        }
        return TRUE;
    case WM_LBUTTONUP:
        *result = Default();
        if (GetCapture() == m_hWnd)
        {
            ReleaseCapture();
            if (IsInTextRect(lParam))
                OpenLink();
        }
        return TRUE;
    case WM_SETCURSOR: {
        POINT at;
        GetCursorPos(&at);
        ScreenToClient(&at);
        *result = m_target && PtInRect(&m_textRect, at) ? TRUE : FALSE;
        return TRUE;
    }
    case WM_CHAR:
        *result = Default();
        if (wParam == VK_RETURN || wParam == VK_SPACE)
            OpenLink();
        return TRUE;
    case WM_GETDLGCODE:
        *result = DLGC_WANTCHARS;
        return TRUE;
    default:
        return CWnd::MessageMap(message, wParam, lParam, result);
    }
}
