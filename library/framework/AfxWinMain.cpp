#include "library/framework/CWinApp.h"

// The program's entry point. Kept apart from the rest of the framework so
// that executables with a main of their own (the tests) never pull it in.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    app->InitInstance();
    return app->ExitInstance();
}
