#include "library/base/AfxResource.h"

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

std::wstring AfxLoadWideString(UINT id)
{
    // Read from the string table itself, as the loader keeps it: blocks of
    // sixteen counted UTF-16 strings, block id / 16 + 1 holding string id.
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC block = FindResourceW(module, MAKEINTRESOURCEW(id / 16 + 1), MAKEINTRESOURCEW(6));
    HGLOBAL loaded = block != nullptr ? LoadResource(module, block) : nullptr;
    auto text = static_cast<const wchar_t*>(loaded != nullptr ? LockResource(loaded) : nullptr);
    if (text == nullptr)
        return std::wstring();
    const wchar_t* end = text + SizeofResource(module, block) / sizeof(wchar_t);
    for (UINT index = 0; index < id % 16; ++index)
    {
        if (text >= end)
            return std::wstring();
        text += 1 + *text;
    }
    if (text >= end || text + 1 + *text > end)
        return std::wstring();
    return std::wstring(text + 1, *text);
}

std::wstring AfxFormatWide(const std::wstring& format, const std::vector<std::wstring>& arguments)
{
    std::wstring text;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i)
    {
        if (format[i] == L'%' && i + 1 < format.size() && format[i + 1] == L's')
        {
            if (next < arguments.size())
                text += arguments[next++];
            ++i;
        }
        else if (format[i] == L'%' && i + 1 < format.size() && format[i + 1] == L'%')
        {
            text += L'%';
            ++i;
        }
        else
        {
            text += format[i];
        }
    }
    return text;
}
