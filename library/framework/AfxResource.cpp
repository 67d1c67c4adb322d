#include "library/framework/AfxResource.h"

namespace
{
HINSTANCE& CurrentResourceModule()
{
    static HINSTANCE module = nullptr;
    return module;
}
} // namespace

HINSTANCE AfxGetResourceHandle()
{
    HINSTANCE module = CurrentResourceModule();
    return module != nullptr ? module : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE module)
{
    CurrentResourceModule() = module;
}

HINSTANCE AfxGetInstanceHandle()
{
    return GetModuleHandleA(nullptr);
}
