#include "library/base/NameComparison.h"

#include <windows.h>

#include <algorithm>

namespace
{
wchar_t AsciiUpper(wchar_t ch)
{
    return ch >= L'a' && ch <= L'z' ? static_cast<wchar_t>(ch - (L'a' - L'A')) : ch;
}
} // namespace

// The system's table is asked from the first letter beyond ASCII on, whose
// upper case may be any letter; up to there the names are compared here,
// which is the same and far quicker for the long paths of a profile's keys.
int CompareNames(const std::wstring& left, const std::wstring& right)
{
    size_t common = std::min(left.size(), right.size());
    size_t i = 0;
    for (; i < common && left[i] < 0x80 && right[i] < 0x80; ++i)
    {
        wchar_t l = AsciiUpper(left[i]);
        wchar_t r = AsciiUpper(right[i]);
        if (l != r)
            return l < r ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
    }
    if (i == common)
        return left.size() == right.size()  ? CSTR_EQUAL
               : left.size() < right.size() ? CSTR_LESS_THAN
                                            : CSTR_GREATER_THAN;
    return CompareStringOrdinal(left.data() + i, static_cast<int>(left.size() - i), right.data() + i,
                                static_cast<int>(right.size() - i), TRUE);
}

bool SameName(const std::wstring& left, const std::wstring& right)
{
    return CompareNames(left, right) == CSTR_EQUAL;
}

bool NameLess::operator()(const std::wstring& left, const std::wstring& right) const
{
    return CompareNames(left, right) == CSTR_LESS_THAN;
}
