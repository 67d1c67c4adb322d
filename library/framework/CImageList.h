#pragma once

#include "library/framework/WindowHandles.h"

class CDC;

// An image list, owned: destroyed by creating another one or by the
// destructor.
class CImageList
{
public:
    // Images of cx by cy pixels; `flags` ILC_*; FALSE on failure, no list then.
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // Adds a copy of `bitmap`, pixels of `transparent` colour masked out;
    // the caller keeps the bitmap. The new image's index, or -1.
    int Add(HBITMAP bitmap, COLORREF transparent);
    // Draws image `index` with ILD_* `style` at `point`.
    BOOL Draw(CDC* dc, int index, POINT point, UINT style);

    HIMAGELIST GetSafeHandle() const { return m_list.Get(); }

private:
    UniqueImageList m_list;
};
