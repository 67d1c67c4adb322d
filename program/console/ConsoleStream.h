#pragma once

#include "library/base/CString.h"

#include <string>

// One of the program's standard streams (not owned). Text shown in a console
// window goes through the console's wide-character output, so that every
// character reads right whatever the console's code page; text to a file or a
// pipe goes as bytes. Line feeds are written as CR LF. Write failures are
// ignored: there is nowhere left to report them.
class ConsoleStream
{
public:
    // STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
    explicit ConsoleStream(DWORD standardHandle);

    // Text in the ANSI code page; to a file or pipe as it is.
    void WriteAnsi(const CString& text);
    // UTF-8 text; to a file or pipe as it is.
    void WriteUtf8(const std::string& text);
    // UTF-16 text; to a file or pipe in the ANSI code page.
    void WriteWide(const std::wstring& text);

private:
    void WriteBytes(const std::string& bytes);
    void WriteToConsole(const std::wstring& text);

    HANDLE m_handle;
    bool m_console;
};
