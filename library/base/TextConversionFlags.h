#pragma once

#include <windows.h>

// The WideCharToMultiByte flags that convert to `codePage` exactly: a
// character without a mapping of its own becomes the default character
// rather than a look-alike ("Ā" is not "A"). UTF-8, also as the ANSI code
// page, maps every character and takes no flags.
DWORD ExactConversionFlags(UINT codePage);
