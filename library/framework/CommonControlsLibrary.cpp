#include "library/framework/CommonControlsLibrary.h"

#include "library/base/NvModuleWrapper.h"

namespace
{
struct Functions
{
    Functions()
    {
        // Loading by name from the system folder still goes through
        // side-by-side redirection, which Windows applies before it searches
        // any folder: a manifest naming Common Controls version 6 would get
        // that version here. The program's manifest names none, so this is
        // the classic library of the system folder.
        if (!library.Load(L"comctl32.dll"))
            return;
        initialize = library.GetProc<decltype(initialize)>("InitCommonControlsEx");
        create = library.GetProc<decltype(create)>("ImageList_Create");
        addMasked = library.GetProc<decltype(addMasked)>("ImageList_AddMasked");
        draw = library.GetProc<decltype(draw)>("ImageList_Draw");
        destroy = library.GetProc<decltype(destroy)>("ImageList_Destroy");
    }

    NvModuleWrapper library;
    decltype(&::InitCommonControlsEx) initialize = nullptr;
    decltype(&::ImageList_Create) create = nullptr;
    decltype(&::ImageList_AddMasked) addMasked = nullptr;
    decltype(&::ImageList_Draw) draw = nullptr;
    decltype(&::ImageList_Destroy) destroy = nullptr;
};

const Functions& Loaded()
{
    static const Functions functions;
    return functions;
}
} // namespace

BOOL CommonControlsLibrary::Initialize(DWORD classes)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), classes};
    return Loaded().initialize != nullptr && Loaded().initialize(&controls);
}

HIMAGELIST CommonControlsLibrary::CreateImageList(int cx, int cy, UINT flags, int initial, int grow)
{
    return Loaded().create != nullptr ? Loaded().create(cx, cy, flags, initial, grow) : nullptr;
}

int CommonControlsLibrary::AddMaskedImage(HIMAGELIST list, HBITMAP bitmap, COLORREF transparent)
{
    return Loaded().addMasked != nullptr ? Loaded().addMasked(list, bitmap, transparent) : -1;
}

BOOL CommonControlsLibrary::DrawImage(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style)
{
    return Loaded().draw != nullptr && Loaded().draw(list, index, dc, x, y, style);
}

BOOL CommonControlsLibrary::DestroyImageList(HIMAGELIST list)
{
    return Loaded().destroy != nullptr && Loaded().destroy(list);
}
