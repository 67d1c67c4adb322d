// The yardstick of the window program's start-up: a process that shows an
// empty dialog of the main window's size and does nothing else.
#include <windows.h>

namespace
{
const int EmptyDialogId = 100;

INT_PTR CALLBACK EmptyDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
    {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(
        DialogBoxParamA(instance, MAKEINTRESOURCEA(EmptyDialogId), nullptr, &EmptyDialogProcedure, 0));
}
