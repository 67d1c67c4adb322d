// Shows the program's dialogs from their English and Polish templates side by
// side, for a look at their layout (take a screenshot of the display):
//   dialog_preview.exe [SECONDS]       (default 10, then it closes itself)
// The header band and the links are painted roughly as the program paints
// them; the rest is the templates as they stand.
#include "library/fs/FsFolders.h"
#include "resources/resource.h"
#include "tests/resources/UiHandles.h"

#include <cstdlib>

namespace
{
const int PictureWidth = 49;
const int PictureHeight = 35;

void PaintHeader(HWND dialog, HMODULE module, HDC dc)
{
    RECT placeholder;
    GetWindowRect(GetDlgItem(dialog, IDC_HEADER_PLACEHOLDER), &placeholder);
    RECT band;
    GetClientRect(dialog, &band);
    band.bottom = band.top + placeholder.bottom - placeholder.top;
    UniqueGdiObject background(CreateSolidBrush(RGB(254, 254, 254)));
    FillRect(dc, &band, static_cast<HBRUSH>(background.Get()));
    UniqueGdiObject pen(CreatePen(PS_SOLID, 1, RGB(128, 128, 128)));
    HGDIOBJ oldPen = SelectObject(dc, pen.Get());
    MoveToEx(dc, band.left, band.bottom - 2, nullptr);
    LineTo(dc, band.right - 1, band.bottom - 2);
    SelectObject(dc, oldPen);

    UniqueGdiObject picture(LoadImageA(module, MAKEINTRESOURCEA(IDB_HEADER), IMAGE_BITMAP, 0, 0, 0));
    UniqueImageList images(ImageList_Create(PictureWidth, PictureHeight, ILC_COLOR32 | ILC_MASK, 0, 1));
    ImageList_AddMasked(images.Get(), static_cast<HBITMAP>(picture.Get()), RGB(255, 255, 255));
    ImageList_Draw(images.Get(), 0, dc, band.right - PictureWidth - band.left - 10,
                   (band.bottom - PictureHeight - band.top) / 2, ILD_TRANSPARENT);

    RECT text = band;
    InflateRect(&text, -10, -10);
    text.right -= PictureWidth + 20;
    char header[1024] = {};
    LoadStringA(module, IDS_HEADER_TEXT, header, sizeof(header));
    UniqueGdiObject font(
        CreateFontA(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma"));
    HGDIOBJ oldFont = SelectObject(dc, font.Get());
    DrawTextA(dc, header, -1, &text, DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
}

INT_PTR CALLBACK PreviewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        if (GetDlgItem(dialog, IDC_PROFILES) != nullptr)
        {
            SetWindowTextA(dialog, "Norvale PST Straysweep");
            SendDlgItemMessageA(dialog, IDC_PROFILES, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Outlook"));
            SendDlgItemMessageA(dialog, IDC_PROFILES, CB_SETCURSEL, 0, 0);
            SetDlgItemTextA(dialog, IDC_PST_NAME, "Personal Folders");
        }
        return TRUE;
    case WM_PAINT:
        if (GetDlgItem(dialog, IDC_HEADER_PLACEHOLDER) != nullptr)
        {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(dialog, &paint);
            PaintHeader(dialog, reinterpret_cast<HMODULE>(GetWindowLongPtrA(dialog, DWLP_USER)), dc);
            EndPaint(dialog, &paint);
            return TRUE;
        }
        return FALSE;
    case WM_CTLCOLORSTATIC: {
        int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id != IDC_LINK_HOME && id != IDC_LINK_WEBSITE)
            return FALSE;
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            PostQuitMessage(0);
        return TRUE;
    }
    return FALSE;
}
} // namespace

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? atoi(argv[1]) : 10;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    // The program's language module is built into bin beside tests-bin.
    NvFsPath polishPath = Combine(GetParentFolder(GetModuleFilePath()), "..\\bin\\Main_ResPL.dll");
    UniqueModule polish(LoadLibraryExA(polishPath, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!polish)
        return 1;

    HMODULE modules[] = {GetModuleHandleA(nullptr), polish.Get()};
    for (int column = 0; column < 2; ++column)
    {
        int y = 10;
        for (int id : {IDD_PSTSTRAYSWEEP_DIALOG, IDD_ABOUTBOX})
        {
            HWND dialog = CreateDialogParamA(modules[column], MAKEINTRESOURCEA(id), nullptr, PreviewProc,
                                             reinterpret_cast<LPARAM>(modules[column]));
            if (dialog == nullptr)
                return 2;
            RECT frame;
            GetWindowRect(dialog, &frame);
            SetWindowPos(dialog, nullptr, 10 + column * 500, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
            y += frame.bottom - frame.top + 20;
        }
    }

    SetTimer(nullptr, 0, seconds * 1000, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
    {
        if (message.message == WM_TIMER && message.hwnd == nullptr)
            break;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
