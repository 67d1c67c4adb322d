#include "tests/support/KeptFile.h"

#include "tests/support/TempFolder.h"

#include <windows.h>

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

KeptFile::KeptFile(std::string path) : m_path(std::move(path)), m_existed(FileExists(m_path))
{
    if (m_existed)
        m_bytes = ReadFileBytes(m_path);
    DeleteFileA(m_path.c_str());
}

KeptFile::~KeptFile()
{
    if (m_existed)
        WriteFileBytes(m_path, m_bytes);
    else
        DeleteFileA(m_path.c_str());
}
