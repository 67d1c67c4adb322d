#pragma once

#include "library/framework/CFont.h"
#include "library/framework/CImageList.h"
#include "library/base/CString.h"

#include <string>

class CDC;
class CWnd;

// Paints an almost white header band across the top of a window's client
// area: a grey line near its bottom, a picture at its right and a text.
class NvDialogHeaderDrawer
{
public:
    // Band height 100, no owner, no picture; the text font is Tahoma with a
    // cell height of 13 logical units.
    NvDialogHeaderDrawer();
    virtual ~NvDialogHeaderDrawer();
    NvDialogHeaderDrawer(const NvDialogHeaderDrawer&) = delete;
    NvDialogHeaderDrawer& operator=(const NvDialogHeaderDrawer&) = delete;

    // Band of `height` pixels in `owner`'s client area with `text`; the
    // picture is a copy of `picture` with `transparent` pixels masked out (the
    // caller keeps and may delete the bitmap). A null picture gives none.
    void Init(CWnd* owner, int height, const std::wstring& text, HBITMAP picture, COLORREF transparent);

    // Paints the band into `dc`, the owner's context; nothing without owner.
    // Text colour and background mode are the context's own.
    void Draw(CDC* dc);

private:
    CWnd* m_owner = nullptr;
    int m_height = 100;
    BITMAP m_picture = {};
    CImageList m_images;
    std::wstring m_text;
    CFont m_font;
};
