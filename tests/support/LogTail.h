#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The bytes and lines that the code under test appends to the program's real
// log from now on. The log is opened as the program opens it at start-up, so
// that a file over the size limit is replaced before the tail starts.
class LogTail
{
public:
    LogTail();

    std::string Bytes() const;
    // Each appended line without its time stamp and line break ("Info: ..."
    // or "Error: ..."); a line without both shows as "UNSTAMPED ..." or
    // "UNTERMINATED ...".
    std::vector<std::string> Lines() const;
    bool Contains(const std::string& line) const;

    // The line an exception of a failed call with system code `code` and
    // `message` leaves: the log drops the text's line breaks.
    static std::string ErrorLine(DWORD code, const std::string& message);

private:
    std::string m_path;
    size_t m_start = 0;
};
