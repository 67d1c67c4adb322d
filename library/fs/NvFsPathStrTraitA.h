#pragma once

#include <mbstring.h>

namespace Traits
{
// Narrow paths in the ANSI code page: separator searches step over double-byte
// characters, so a trail byte is never taken for a separator.
struct NvFsPathStrTraitA
{
    using CharType = char;

    // The last occurrence of a single-byte character, or null.
    static const char* FindLast(const char* text, char ch)
    {
        return reinterpret_cast<const char*>(
            _mbsrchr(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned char>(ch)));
    }

    // The character after the one at `text`.
    static const char* Next(const char* text)
    {
        return reinterpret_cast<const char*>(_mbsinc(reinterpret_cast<const unsigned char*>(text)));
    }
};
} // namespace Traits
