#include "library/framework/CWinApp.h"
#include "library/framework/CommonControlsLibrary.h"
#include "library/base/NvModuleWrapper.h"

// The program's entry point. Kept apart from the rest of the framework so
// that executables with a main of their own (the tests) never pull it in.
// Without the common controls, which the framework's controls are, no
// window can work: the program ends as without an application.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    NvModuleWrapper::SearchSystemFolderOnly();
    CWinApp* app = AfxGetApp();
    if (app == nullptr || !CommonControlsLibrary::Initialize(ICC_WIN95_CLASSES))
        return -1;
    app->InitInstance();
    return app->ExitInstance();
}
