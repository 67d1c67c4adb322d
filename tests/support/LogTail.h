#pragma once

#include <string>
#include <vector>

// What the program's real log (Log.txt in the product folder) gains from the
// moment this object is made: the log is opened first, as the program opens
// it at start-up, so that a new file's header is not counted. Other
// processes' lines count as well.
class LogTail
{
public:
    LogTail();

    std::string Bytes() const;

    // Each appended line without its time stamp and line break, such as
    // "Info: Program started."; a line without both shows as "UNSTAMPED ..."
    // or "UNTERMINATED ...".
    std::vector<std::string> Lines() const;

    bool Contains(const std::string& line) const;

private:
    std::string m_path;
    size_t m_start = 0;
};
