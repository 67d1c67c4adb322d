#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The module the program's resources (templates, strings, bitmaps) are taken
// from: the executable until a language module is made current.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);

// The executable's own instance handle.
HINSTANCE AfxGetInstanceHandle();

// String resource `id` of the current resource module as the table holds it,
// in UTF-16; empty when there is none.
std::wstring AfxLoadWideString(UINT id);

// `format` with each "%s" replaced by the next of `arguments` and "%%" by
// "%": the one conversion that the program's strings use.
std::wstring AfxFormatWide(const std::wstring& format, const std::vector<std::wstring>& arguments);
