#include "program/window/LanguageResources.h"

#include "library/framework/AfxResource.h"
#include "library/fs/FsFolders.h"

LanguageResources& GetLanguageResources()
{
    static LanguageResources resources;
    return resources;
}

void LoadLanguageResources(LanguageResources& resources)
{
    NvFsPath candidate = Combine(GetParentFolder(GetModuleFilePath(AfxGetInstanceHandle())), "Main_ResPL.dll");
    if (!PathExists(candidate))
    {
        resources.Module.Reset();
        resources.PreviousResourceHandle = nullptr;
        return;
    }
    // Only its resources are wanted: a file of that name dropped beside the
    // program (a downloads folder, say) must not get its code run.
    resources.Module.Reset(
        LoadLibraryExA(candidate, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!resources.Module)
        return;
    resources.PreviousResourceHandle = AfxGetResourceHandle();
    AfxSetResourceHandle(resources.Module.Get());
}

void UnloadLanguageResources(LanguageResources& resources)
{
    if (resources.PreviousResourceHandle != nullptr)
        AfxSetResourceHandle(resources.PreviousResourceHandle);
    resources.Module.Reset();
}
