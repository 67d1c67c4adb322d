#include "library/error/ErrorMessages.h"

#include "library/base/AfxResource.h"
#include "library/base/TextConversion.h"
#include "library/base/UniqueHandle.h"

namespace Error
{
CString GetSystemErrorText(DWORD code)
{
    LPSTR buffer = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code,
        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    UniqueLocalMemory owner(buffer);
    if (length == 0 || buffer == nullptr)
        return CString();
    return CString(buffer, static_cast<int>(length));
}

CString GetSystemErrorSentence(DWORD code)
{
    CString text = GetSystemErrorText(code);
    text.TrimRight();
    // A code that the system has no text for still says what failed.
    if (text.IsEmpty())
        text.Format("System error %lu.", code);
    return text;
}

CString FormatResourceString(UINT formatId, ...)
{
    CString format;
    if (!format.LoadString(formatId))
        return CString();
    CString text;
    va_list args;
    va_start(args, formatId);
    text.FormatV(format, args);
    va_end(args);
    return text;
}

ResourceMessage FormatResourceMessage(UINT formatId, const std::wstring& name)
{
    return {FormatResourceString(formatId, WideToAnsiMarked(name).GetString()),
            AfxFormatWide(AfxLoadWideString(formatId), {name})};
}
} // namespace Error
