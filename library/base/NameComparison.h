#pragma once

#include <string>

// Names of the registry, of profiles and of stores compared as Windows
// compares them: letter case aside, by the system's own upper-case table,
// never after a conversion to a code page.

// CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN.
int CompareNames(const std::wstring& left, const std::wstring& right);
bool SameName(const std::wstring& left, const std::wstring& right);

// Names in that order, for sets and maps.
struct NameLess
{
    bool operator()(const std::wstring& left, const std::wstring& right) const;
};
