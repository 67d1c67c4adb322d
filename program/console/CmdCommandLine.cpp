#include "program/console/CmdCommandLine.h"

#include <algorithm>

// Between double quotes cmd.exe takes & | < > ^ ( ) literally, with two
// exceptions. A `"` ends the quoting, and cmd knows no escape for it there
// (`\"` splits one way for cmd and another for CommandLineToArgvW, which the
// program splits with), so a value holding `"` cannot be written. "%NAME%"
// still expands: a lone `%` on the line is safe, two are not (the text
// between them may name a variable, blanks and quotes included, and "=C:"
// exists at every prompt; `^%` works only outside quotes). With delayed
// expansion on (cmd /V, or DelayedExpansion in the registry) "!NAME!" expands
// even inside quotes and only `^!` keeps it, which the default leaves as
// typed: no one line serves both, so `!` cannot be written either. Control
// characters do not survive a paste (a tab completes file names). A line is
// for the prompt only: a batch file would also need every `%` doubled. The
// program's splitting takes backslashes literally except before a quote, so
// those before the closing quote are doubled; and its parser takes a value
// that begins with "--" only after "=".
std::wstring CmdCommandLine(const std::wstring& command,
                            const std::vector<std::pair<std::wstring, std::wstring>>& options)
{
    auto unsafe = [](wchar_t ch) { return ch == L'"' || ch == L'!' || ch < 0x20 || ch == 0x7F; };
    std::wstring line = command;
    size_t percents = 0;
    for (const auto& [option, value] : options)
    {
        if (std::any_of(value.begin(), value.end(), unsafe))
            return std::wstring();
        percents += static_cast<size_t>(std::count(value.begin(), value.end(), L'%'));
        size_t last = value.find_last_not_of(L'\\');
        size_t backslashes = last == std::wstring::npos ? value.size() : value.size() - last - 1;
        std::wstring quoted = L"\"" + value + std::wstring(backslashes, L'\\') + L"\"";
        line += L" " + option + (value.compare(0, 2, L"--") == 0 ? L"=" : L" ") + quoted;
    }
    return percents > 1 ? std::wstring() : line;
}
