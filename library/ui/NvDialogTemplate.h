#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A dialog template as a module's resources hold it, in either form: the
// classic DLGTEMPLATE or the extended DLGTEMPLATEEX. Texts are UTF-16, as
// the template stores them.
struct NvDialogTemplate
{
    // One control of the template.
    struct Item
    {
        DWORD style = 0;
        DWORD exStyle = 0;
        short x = 0, y = 0, cx = 0, cy = 0;
        // A classic template's 16-bit id is widened without sign: -1 reads
        // as 0xFFFF there.
        int id = 0;
        std::wstring className; // also for the predefined classes given by number
        WORD textOrdinal = 0;   // resource id given as the text (an icon control's icon), 0 when a string
        std::wstring text;
    };

    enum class ReadResult
    {
        Read,
        Missing,   // the module has no dialog template of that id
        Malformed, // it ends early or names a control class by an unknown number
    };

    // Reads template `id` of `module` (null: the executable; a module loaded
    // as data works too). On failure this is left as a default template.
    ReadResult Read(HMODULE module, int id);

    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short cx = 0, cy = 0;
    std::wstring caption;
    WORD pointSize = 0;
    std::wstring fontName;
    std::vector<Item> items;
};
