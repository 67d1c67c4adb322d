#include "program/window/LanguageResources.h"

#include "library/base/AfxResource.h"
#include "library/fs/FsFolders.h"
#include "library/ui/NvDialogTemplate.h"
#include "resources/resource.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace
{
const int ProgramDialogs[] = {IDD_ABOUTBOX, IDD_PSTSTRAYSWEEP_DIALOG};

// The program's strings, one run of ids, as they are read: from the current
// resource module, converted to the ANSI code page.
std::vector<CString> LoadProgramStrings()
{
    std::vector<CString> texts;
    for (UINT id = IDS_HOME_URL; id <= IDS_LAST_STRING; ++id)
    {
        texts.emplace_back();
        texts.back().LoadString(id);
    }
    return texts;
}

// What each printf conversion of `format` takes from the arguments, in order:
// a "*" for a width or precision given as an argument, then the size and the
// conversion character. Flags and digits take nothing and are left out; so
// is "%%". A "%" at the very end gives an empty entry.
std::vector<std::string> Conversions(LPCSTR format)
{
    std::vector<std::string> result;
    for (LPCSTR at = std::strchr(format, '%'); at != nullptr; at = std::strchr(at, '%'))
    {
        ++at;
        at += std::strspn(at, "-+ #0");
        std::string taken;
        if (*at == '*')
            taken += *at++;
        else
            at += std::strspn(at, "0123456789");
        if (*at == '.')
        {
            ++at;
            if (*at == '*')
                taken += *at++;
            else
                at += std::strspn(at, "0123456789");
        }
        size_t size = std::strspn(at, "hlLjztwI0123456789");
        taken.append(at, size);
        at += size;
        if (*at == '\0')
        {
            result.push_back(taken);
            break;
        }
        char conversion = *at++;
        if (conversion == '%' && taken.empty())
            continue;
        result.push_back(taken + conversion);
    }
    return result;
}

bool IsStatic(int controlId)
{
    // A classic template holds -1 as 0xFFFF.
    return controlId == IDC_STATIC || controlId == 0xFFFF;
}

// Why the translated strings cannot stand in for the built-in ones; empty
// when they can. A string table entry of length 0 counts as missing.
CString FindStringFault(const std::vector<CString>& builtIn, const std::vector<CString>& translated)
{
    CString fault;
    for (size_t i = 0; i < builtIn.size() && fault.IsEmpty(); ++i)
    {
        UINT id = IDS_HOME_URL + static_cast<UINT>(i);
        if (translated[i].IsEmpty())
            fault.Format("brak tekstu %u.", id);
        else if (Conversions(translated[i]) != Conversions(builtIn[i]))
            fault.Format("symbole zastępcze w tekście %u różnią się od angielskich.", id);
    }
    return fault;
}

// Why the module's dialog templates cannot stand in for the built-in ones;
// empty when they can. The dialog code reaches most of its controls by id
// and some only by the commands they send, so every control that the
// built-in template gives an id is required.
CString FindDialogFault(HINSTANCE builtInModule, HINSTANCE module)
{
    CString fault;
    for (int dialog : ProgramDialogs)
    {
        NvDialogTemplate builtIn;
        NvDialogTemplate translated;
        builtIn.Read(builtInModule, dialog);
        switch (translated.Read(module, dialog))
        {
        case NvDialogTemplate::ReadResult::Missing:
            fault.Format("brak okna dialogowego %d.", dialog);
            return fault;
        case NvDialogTemplate::ReadResult::Malformed:
            fault.Format("okno dialogowe %d jest uszkodzone.", dialog);
            return fault;
        case NvDialogTemplate::ReadResult::Read:
            break;
        }
        for (const NvDialogTemplate::Item& control : builtIn.items)
        {
            if (IsStatic(control.id))
                continue;
            auto found = std::find_if(translated.items.begin(), translated.items.end(),
                                      [&](const NvDialogTemplate::Item& item) { return item.id == control.id; });
            if (found == translated.items.end())
            {
                fault.Format("w oknie dialogowym %d brak kontrolki %d.", dialog, control.id);
                return fault;
            }
        }
    }
    return fault;
}
} // namespace

LanguageResources& GetLanguageResources()
{
    static LanguageResources resources;
    return resources;
}

CString LoadLanguageResources(LanguageResources& resources)
{
    NvFsPath candidate = Combine(GetParentFolder(GetModuleFilePath(AfxGetInstanceHandle())), "Main_ResPL.dll");
    if (!PathExists(candidate))
    {
        resources.Module.Reset();
        resources.PreviousResourceHandle = nullptr;
        return CString();
    }
    // Only its resources are wanted: a file of that name dropped beside the
    // program (a downloads folder, say) must not get its code run.
    resources.Module.Reset(
        LoadLibraryExA(candidate, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!resources.Module)
        return CString();

    // The program formats its strings with printf and reaches its controls
    // by id: a module lacking one, or with other conversions, would crash it.
    // The strings are checked as the program reads them, from the current
    // resource module.
    HINSTANCE previous = AfxGetResourceHandle();
    std::vector<CString> builtIn = LoadProgramStrings();
    AfxSetResourceHandle(resources.Module.Get());
    CString fault = FindStringFault(builtIn, LoadProgramStrings());
    if (fault.IsEmpty())
        fault = FindDialogFault(previous, resources.Module.Get());
    if (!fault.IsEmpty())
    {
        AfxSetResourceHandle(previous);
        resources.Module.Reset();
        CString line;
        line.Format("Moduł językowy \"%s\" nie został użyty: %s", candidate.GetString(), fault.GetString());
        return line;
    }
    resources.PreviousResourceHandle = previous;
    return CString();
}

void UnloadLanguageResources(LanguageResources& resources)
{
    if (resources.PreviousResourceHandle != nullptr)
        AfxSetResourceHandle(resources.PreviousResourceHandle);
    resources.Module.Reset();
}
