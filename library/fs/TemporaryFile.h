#pragma once

#include "library/fs/NvFsPathT.h"

#include <string>

// A file of its own in the user's temporary folder, deleted with the object.
class TemporaryFile
{
public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates an empty file under a name that no other file has, with
    // `prefix` (up to three characters) before it: ERROR_SUCCESS, or the
    // system's code and no file.
    DWORD Create(LPCSTR prefix);
    // Writes `bytes` as the file's whole content: ERROR_SUCCESS or the
    // system's code.
    DWORD Write(const std::string& bytes) const;

    // Empty before Create succeeded.
    const NvFsPath& GetPath() const { return m_path; }

private:
    NvFsPath m_path;
};
