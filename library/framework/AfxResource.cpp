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

std::wstring AfxLoadWideString(UINT id)
{
    // With no room given, the system hands out a pointer into the resource
    // itself: the length tells where the (not necessarily terminated) text
    // ends.
    const wchar_t* text = nullptr;
    int length = LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text != nullptr ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
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
