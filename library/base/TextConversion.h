#pragma once

#include "library/base/CString.h"

#include <string>

// Converts `wide` to the ANSI code page when every character has a
// counterpart of its own there: no best-fit look-alike, no default character,
// and the result converts back to the same text. False (and `ansi` left as
// it was) otherwise.
bool WideToAnsiExactly(const std::wstring& wide, CString& ansi);

// UTF-16 in the ANSI code page for a reader who must see what was lost:
// each character without a counterpart of its own there (an unpaired
// surrogate too) becomes "[U+XXXX]", its code point in hexadecimal. Text
// that converts exactly is the same as WideToAnsiExactly gives.
CString WideToAnsiMarked(const std::wstring& wide);

// Text in the ANSI code page as UTF-16.
std::wstring AnsiToWide(const CString& ansi);
std::wstring AnsiToWide(LPCSTR ansi);

// UTF-16 in the ANSI code page; characters without a counterpart become the
// code page's default character.
CString WideToAnsi(const std::wstring& wide);


// UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string WideToUtf8(const std::wstring& wide);

// UTF-8 as UTF-16; invalid sequences become U+FFFD.
std::wstring Utf8ToWide(const std::string& utf8);
