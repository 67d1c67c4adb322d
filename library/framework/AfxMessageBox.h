#pragma once

#include <windows.h>

#include <string>

// The framework's message box: captioned with the application's name (no
// caption of its own without an application object), owned by the main
// window when there is one. When `type` names no icon, MB_OK and MB_OKCANCEL
// boxes get MB_ICONEXCLAMATION and MB_YESNO and MB_YESNOCANCEL boxes get
// MB_ICONQUESTION. Returns the button pressed. The help id is accepted for
// the callers' sake; boxes have no help context.
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
// The same with UTF-16 text: every letter shows whatever the code page.
int AfxMessageBox(const std::wstring& text, UINT type = MB_OK, UINT helpId = 0);
// The same with string resource `textId` of the current resource module.
int AfxMessageBox(UINT textId, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));
