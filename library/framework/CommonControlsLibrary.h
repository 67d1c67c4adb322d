#pragma once

#include <windows.h>

#include <commctrl.h>

// The system's common controls, loaded from the system folder on first use
// and held until the process ends. Each function gives its own failure value
// (FALSE, null, -1) when the library, or the function in it, cannot be had.
class CommonControlsLibrary
{
public:
    // Registers the window classes of the ICC_* `classes`; FALSE on failure.
    static BOOL Initialize(DWORD classes);

    // ImageList_Create, ImageList_AddMasked, ImageList_Draw and
    // ImageList_Destroy of the library.
    static HIMAGELIST CreateImageList(int cx, int cy, UINT flags, int initial, int grow);
    static int AddMaskedImage(HIMAGELIST list, HBITMAP bitmap, COLORREF transparent);
    static BOOL DrawImage(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
    static BOOL DestroyImageList(HIMAGELIST list);
};
