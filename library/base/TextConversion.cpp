#include "library/base/TextConversion.h"

#include "library/base/TextConversionFlags.h"

#include <algorithm>
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

CString WideToAnsiMarked(const std::wstring& wide)
{
    // Plain ASCII, as most of the log's names and identifiers are, is the
    // same in every ANSI code page: no conversion needed.
    if (std::all_of(wide.begin(), wide.end(), [](wchar_t ch) { return ch != L'\0' && ch < 0x80; }))
        return CString(std::string(wide.begin(), wide.end()));
    CString whole;
    if (WideToAnsiExactly(wide, whole))
        return whole;
    CString marked;
    for (size_t i = 0; i < wide.size();)
    {
        bool pair = i + 1 < wide.size() && IS_HIGH_SURROGATE(wide[i]) && IS_LOW_SURROGATE(wide[i + 1]);
        size_t units = pair ? 2 : 1;
        std::wstring character = wide.substr(i, units);
        CString converted;
        if (WideToAnsiExactly(character, converted))
        {
            marked += converted;
        }
        else
        {
            unsigned long point = pair ? 0x10000 + ((character[0] - 0xD800UL) << 10) + (character[1] - 0xDC00UL)
                                       : static_cast<unsigned long>(character[0]);
            marked.AppendFormat("[U+%04lX]", point);
        }
        i += units;
    }
    return marked;
}

std::wstring AnsiToWide(const CString& ansi)
{
    return ToWide(CP_ACP, ansi.Str());
}

std::wstring AnsiToWide(LPCSTR ansi)
{
    return ToWide(CP_ACP, ansi != nullptr ? ansi : "");
}

CString WideToAnsi(const std::wstring& wide)
{
    return CString(FromWide(CP_ACP, ExactConversionFlags(CP_ACP), wide, nullptr));
}

std::string WideToUtf8(const std::wstring& wide)
{
    return FromWide(CP_UTF8, 0, wide, nullptr);
}

std::wstring Utf8ToWide(const std::string& utf8)
{
    return ToWide(CP_UTF8, utf8);
}
