#pragma once

#include <windows.h>

// The module the program's resources (templates, strings, bitmaps) are taken
// from: the executable until a language module is made current.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);

// The executable's own instance handle.
HINSTANCE AfxGetInstanceHandle();
