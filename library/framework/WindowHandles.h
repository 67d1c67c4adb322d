#pragma once

#include "library/base/UniqueHandle.h"
#include "library/framework/CommonControlsLibrary.h"

#include <windows.h>

// The owning handles of windows, GDI objects, cursors and image lists, beside
// the system's other handles.

// Any GDI object (font, pen, bitmap, brush) released with DeleteObject.
template <typename GdiHandle> struct GdiObjectTraits
{
    using Handle = GdiHandle;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { DeleteObject(handle); }
};

// A cursor made by CreateCursor; shared cursors from LoadCursor are not owned.
struct CursorTraits
{
    using Handle = HCURSOR;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { DestroyCursor(handle); }
};

struct ImageListTraits
{
    using Handle = HIMAGELIST;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { CommonControlsLibrary::DestroyImageList(handle); }
};

struct WindowTraits
{
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { DestroyWindow(handle); }
};

using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueCursor = UniqueHandle<CursorTraits>;
using UniqueImageList = UniqueHandle<ImageListTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
