// The yardstick of the window program's start-up: a process that shows an
// empty dialog of the main window's size and does nothing else.
#include "bench/PlainDialog.h"

namespace
{
const int EmptyDialogId = 100;
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(
        DialogBoxParamA(instance, MAKEINTRESOURCEA(EmptyDialogId), nullptr, &PlainDialogProcedure, 0));
}
