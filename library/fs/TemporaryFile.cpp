#include "library/fs/TemporaryFile.h"

#include "library/framework/UniqueHandle.h"

TemporaryFile::~TemporaryFile()
{
    if (!m_path.IsEmpty())
        DeleteFileA(m_path);
}

DWORD TemporaryFile::Create(LPCSTR prefix)
{
    char folder[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof(folder), folder);
    if (length == 0 || length > sizeof(folder))
        return length == 0 ? GetLastError() : ERROR_BUFFER_OVERFLOW;
    char path[MAX_PATH] = {};
    // Creates the file, so that the name is ours.
    if (GetTempFileNameA(folder, prefix, 0, path) == 0)
        return GetLastError();
    m_path = path;
    return ERROR_SUCCESS;
}

DWORD TemporaryFile::Write(const std::string& bytes) const
{
    UniqueFile file(CreateFileA(m_path, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError();
    DWORD written = 0;
    if (!bytes.empty() && !WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return GetLastError();
    return written == bytes.size() ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}
