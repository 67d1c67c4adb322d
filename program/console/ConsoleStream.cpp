#include "program/console/ConsoleStream.h"

#include "library/base/TextConversion.h"

namespace
{
template <typename Text> Text WithCarriageReturns(const Text& text)
{
    Text result;
    result.reserve(text.size());
    for (auto ch : text)
    {
        if (ch == '\n')
            result += '\r';
        result += ch;
    }
    return result;
}
} // namespace

ConsoleStream::ConsoleStream(DWORD standardHandle) : m_handle(GetStdHandle(standardHandle)), m_console(false)
{
    DWORD mode = 0;
    m_console = m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE && GetConsoleMode(m_handle, &mode);
}

void ConsoleStream::WriteAnsi(const CString& text)
{
    if (m_console)
        WriteToConsole(AnsiToWide(text));
    else
        WriteBytes(text.Str());
}

void ConsoleStream::WriteUtf8(const std::string& text)
{
    if (m_console)
        WriteToConsole(Utf8ToWide(text));
    else
        WriteBytes(text);
}

void ConsoleStream::WriteWide(const std::wstring& text)
{
    if (m_console)
        WriteToConsole(text);
    else
        WriteBytes(WideToAnsi(text).Str());
}

void ConsoleStream::WriteBytes(const std::string& bytes)
{
    std::string lines = WithCarriageReturns(bytes);
    DWORD written = 0;
    if (!lines.empty())
        WriteFile(m_handle, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
}

void ConsoleStream::WriteToConsole(const std::wstring& text)
{
    std::wstring lines = WithCarriageReturns(text);
    DWORD written = 0;
    if (!lines.empty())
        WriteConsoleW(m_handle, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
}
