#pragma once

#include <string>

// A new empty folder below the system's temporary folder, deleted with all
// its contents by the destructor. Paths are Windows paths.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Path joined with `name` by one backslash.
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

// Whole file contents as bytes; empty when the file cannot be read.
std::string ReadFileBytes(const std::string& path);
// Writes `bytes` as the whole file; false on failure.
bool WriteFileBytes(const std::string& path, const std::string& bytes);
// Removes a folder tree (files and sub-folders).
void RemoveTree(const std::string& path);
