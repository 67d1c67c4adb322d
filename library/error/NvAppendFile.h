#pragma once

#include "library/base/UniqueHandle.h"

#include <windows.h>

#include <string>

namespace Error
{
// A file opened for appending only, with deny-none sharing: every write lands
// whole at the end of the file, also while other processes append to the same
// file through this class. A copy that holds the others up too long is
// waited for once: from then on this one writes without waiting. For use
// from one thread.
class NvAppendFile
{
public:
    NvAppendFile() = default;
    ~NvAppendFile() { Close(); }
    NvAppendFile(const NvAppendFile&) = delete;
    NvAppendFile& operator=(const NvAppendFile&) = delete;

    // Opens `path`, created if missing and emptied first when `truncate`.
    // False when the file cannot be opened; a file already open stays open.
    bool Open(LPCSTR path, bool truncate);
    bool IsOpen() const { return m_file.IsValid(); }

    // Appends `bytes` in one write; false when nothing or not all was written.
    bool Append(const std::string& bytes);
    // Appends `bytes` only to an empty file; false when the write failed.
    bool AppendIfEmpty(const std::string& bytes);

    // True once a wait for another copy's write timed out: every later write
    // goes out without waiting for the others, until Close.
    bool IsLockGivenUp() const { return m_lockGivenUp; }
    // True when the objects that the copies share were made by another user
    // (or are closed to this one): this copy writes without the lock until
    // Close.
    bool IsLockRefused() const { return m_lockRefused; }

    // Closes the file; nothing happens when none is open.
    void Close();

private:
    // What every copy that has the file open shares with the others.
    struct SharedState
    {
        LONG copies;
        LONG unlockedWriter;
    };

    void Join();
    void WaitForUnlockedWriter();
    bool Write(const std::string& bytes);
    template <typename Work> bool Serialised(Work work);

    UniqueFile m_file;
    UniqueKernelHandle m_mapping;
    UniqueMappedView m_view;
    SharedState* m_shared = nullptr;
    UniqueKernelHandle m_lock;
    LONG m_processId = 0;
    bool m_lockGivenUp = false;
    bool m_lockRefused = false;
};
} // namespace Error
