#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One control of an extended dialog template, as the resource compiler wrote it.
struct DialogTemplateItem
{
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::wstring className; // also for the predefined classes given by number
    WORD textOrdinal = 0;   // resource id given as the text (an icon control's icon), 0 when a string
    std::wstring text;
};

// An extended dialog template (DIALOGEX) read from a module's resources.
struct DialogTemplate
{
    DWORD style = 0;
    DWORD exStyle = 0;
    short cx = 0, cy = 0;
    std::wstring caption;
    WORD pointSize = 0;
    std::wstring fontName;
    std::vector<DialogTemplateItem> items;
};

// Reads dialog template `id` of `module` (also a module loaded as data). Throws
// std::runtime_error when it is missing or not an extended template.
DialogTemplate ReadDialogTemplate(HMODULE module, int id);
