#pragma once

#include <string>

#include <utility>
#include <vector>

// A command line to paste at a cmd.exe prompt: `command`, then each option
// with its value in double quotes, written so that cmd.exe leaves the line as
// it stands and the program's own argument splitting gives every value back
// exactly. Empty when no line can do that for these values.
std::wstring CmdCommandLine(const std::wstring& command,
                            const std::vector<std::pair<std::wstring, std::wstring>>& options);
