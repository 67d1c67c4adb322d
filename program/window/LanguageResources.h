#pragma once

#include "library/framework/UniqueHandle.h"

// The Polish language module and the resource module it replaced.
struct LanguageResources
{
    // The current resource module before the language module took its place;
    // null when no language module was loaded.
    HINSTANCE PreviousResourceHandle = nullptr;
    // "Main_ResPL.dll" mapped as resources only; empty when absent or unloadable.
    UniqueModule Module;
};

// The one record of the program.
LanguageResources& GetLanguageResources();

// Makes "Main_ResPL.dll" beside the executable the current resource module
// when the file exists and loads; otherwise the built-in resources stay. The
// module is mapped as resources only: none of its code ever runs.
void LoadLanguageResources(LanguageResources& resources);

// Gives the current resource module back to what it was and releases the
// language module.
void UnloadLanguageResources(LanguageResources& resources);
