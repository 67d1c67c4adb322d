#pragma once

#include "library/framework/UniqueHandle.h"

#include <commctrl.h>

// Owning handles for the windows, GDI objects and image lists that the
// resource tests and the dialog preview make.
struct WindowTraits
{
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { DestroyWindow(handle); }
};

struct GdiObjectTraits
{
    using Handle = HGDIOBJ;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { DeleteObject(handle); }
};

struct ImageListTraits
{
    using Handle = HIMAGELIST;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { ImageList_Destroy(handle); }
};

using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueImageList = UniqueHandle<ImageListTraits>;
