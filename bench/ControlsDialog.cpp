// The floor of the window program's start-up: what its specified start-up
// cannot leave out, and nothing of its own work. The common controls are
// registered, the shell library that the log's and the settings' paths come
// from is loaded, and the main window's own dialog template, with its
// controls, is shown with no code behind it.
#include "bench/PlainDialog.h"
#include "library/framework/CommonControlsLibrary.h"
#include "library/base/UniqueHandle.h"
#include "resources/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    CommonControlsLibrary::Initialize(ICC_WIN95_CLASSES);
    UniqueModule shell(LoadLibraryA("shell32.dll"));
    return static_cast<int>(
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PSTSTRAYSWEEP_DIALOG), nullptr, &PlainDialogProcedure, 0));
}
