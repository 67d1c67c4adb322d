#include "tests/support/LogTail.h"

#include "program/core/CLogFile.h"
#include "tests/support/ProgramTexts.h"
#include "tests/support/TempFolder.h"

#include <algorithm>
#include <regex>

LogTail::LogTail()
{
    CLogFile::Instance().OpenWithSizeLimit();
    m_path = CLogFile::Instance().GetFilePath().Str();
    m_start = ReadFileBytes(m_path).size();
}

std::string LogTail::Bytes() const
{
    std::string bytes = ReadFileBytes(m_path);
    return bytes.size() > m_start ? bytes.substr(m_start) : std::string();
}

std::vector<std::string> LogTail::Lines() const
{
    static const std::regex Stamped(R"(\d{4}\.\d{2}\.\d{2} \d{2}:\d{2}:\d{2} ((Info|Error): .*)\r)");
    std::vector<std::string> lines;
    std::string bytes = Bytes();
    size_t begin = 0;
    for (size_t end; (end = bytes.find('\n', begin)) != std::string::npos; begin = end + 1)
    {
        std::string line = bytes.substr(begin, end - begin);
        std::smatch match;
        lines.push_back(std::regex_match(line, match, Stamped) ? match[1].str() : "UNSTAMPED " + line);
    }
    if (begin != bytes.size())
        lines.push_back("UNTERMINATED " + bytes.substr(begin));
    return lines;
}

bool LogTail::Contains(const std::string& line) const
{
    std::vector<std::string> lines = Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string LogTail::ErrorLine(DWORD code, const std::string& message)
{
    std::string text = ProgramTexts::ExceptionText(code, message);
    text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
    return "Error: " + text;
}
