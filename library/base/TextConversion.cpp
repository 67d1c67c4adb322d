#include "library/base/TextConversion.h"

#include "library/base/TextConversionFlags.h"

#include <vector>

namespace
{
std::wstring ToWide(UINT codePage, const std::string& text)
{
    if (text.empty())
        return std::wstring();
    int size = static_cast<int>(text.size());
    int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, &wide[0], length);
    return wide;
}

std::string FromWide(UINT codePage, DWORD flags, const std::wstring& wide, BOOL* usedDefault)
{
    if (wide.empty())
        return std::string();
    int size = static_cast<int>(wide.size());
    int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, &text[0], length, nullptr, usedDefault);
    return text;
}
} // namespace

bool WideToAnsiExactly(const std::wstring& wide, CString& ansi)
{
    // UTF-8 as the ANSI code page takes no report of a default character;
    // the round trip still catches an unpaired surrogate.
    DWORD flags = ExactConversionFlags(CP_ACP);
    BOOL usedDefault = FALSE;
    std::string text = FromWide(CP_ACP, flags, wide, flags != 0 ? &usedDefault : nullptr);
    if (usedDefault || text.find('\0') != std::string::npos || ToWide(CP_ACP, text) != wide)
        return false;
    ansi = CString(text);
    return true;
}

std::wstring AnsiToWide(const CString& ansi)
{
    return ToWide(CP_ACP, ansi.Str());
}

CString WideToAnsi(const std::wstring& wide)
{
    return CString(FromWide(CP_ACP, ExactConversionFlags(CP_ACP), wide, nullptr));
}

std::string AnsiToUtf8(const CString& ansi)
{
    return WideToUtf8(AnsiToWide(ansi));
}

std::string WideToUtf8(const std::wstring& wide)
{
    return FromWide(CP_UTF8, 0, wide, nullptr);
}

std::wstring Utf8ToWide(const std::string& utf8)
{
    return ToWide(CP_UTF8, utf8);
}
