#pragma once

#include "library/base/CString.h"
#include "library/base/UniqueHandle.h"

// The Polish language module and the resource module it replaced.
struct LanguageResources
{
    // The current resource module before the language module took its place;
    // null when no language module is in use.
    HINSTANCE PreviousResourceHandle = nullptr;
    // "Main_ResPL.dll" mapped as resources only; empty when absent,
    // unloadable or refused.
    UniqueModule Module;
};

// The one record of the program.
LanguageResources& GetLanguageResources();

// Makes "Main_ResPL.dll" beside the executable the current resource module
// when the file exists, loads and holds every string of the program with the
// built-in one's printf conversions and every control of its dialogs;
// otherwise the built-in resources stay. The module is mapped as resources
// only: none of its code ever runs. Returns the log line that says why a
// module that loaded was refused; empty when it is used or there is none.
CString LoadLanguageResources(LanguageResources& resources);

// Gives the current resource module back to what it was and releases the
// language module.
void UnloadLanguageResources(LanguageResources& resources);
