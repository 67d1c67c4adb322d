#pragma once

#include <windows.h>

// The procedure of a dialog with no work of its own: it only closes on
// Cancel (Esc, the close box, WM_CLOSE).
INT_PTR CALLBACK PlainDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
