#pragma once

#include <string>

// Keeps a file's bytes, or its absence, deletes the file and puts it back as
// it was at the end.
class KeptFile
{
public:
    explicit KeptFile(std::string path);
    ~KeptFile();
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    bool m_existed;
    std::string m_bytes;
};

// True when a file or folder of that name exists.
bool FileExists(const std::string& path);
