#include "library/framework/CImageList.h"

#include "library/framework/CDC.h"
#include "library/framework/CommonControlsLibrary.h"

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    m_list.Reset(CommonControlsLibrary::CreateImageList(cx, cy, flags, initial, grow));
    return m_list.IsValid();
}

int CImageList::Add(HBITMAP bitmap, COLORREF transparent)
{
    if (!m_list.IsValid())
        return -1;
    return CommonControlsLibrary::AddMaskedImage(m_list.Get(), bitmap, transparent);
}

BOOL CImageList::Draw(CDC* dc, int index, POINT point, UINT style)
{
    if (!m_list.IsValid())
        return FALSE;
    return CommonControlsLibrary::DrawImage(m_list.Get(), index, dc->m_hDC, point.x, point.y, style);
}
