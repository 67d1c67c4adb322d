#include "library/error/NvAppendFile.h"

#include "library/error/NvCurrentUserSecurity.h"

// Why lines never overlap:
//
// Every write is one WriteFile on a handle that may only append (it lacks
// FILE_WRITE_DATA), so Windows puts each write whole at the end of the file,
// whatever other processes do. Wine 8 does the same in two steps (find the
// end, then write there), so two processes writing at once overwrite each
// other's bytes; there writes to the same file must not overlap. A named mutex
// around every write keeps them apart, but costs two round trips to the Wine
// server per write, so it is taken only while another copy has the file open.
//
// Every copy that has the file open counts itself in a small shared-memory
// block named after the file's identity (volume serial number and file index:
// two logs never share a block, two spellings of one path always do). A copy
// writes without the mutex only while the count is 1, itself. Before it reads
// the count it marks itself as the unlocked writer, and it clears the mark once
// its write has returned; a copy that joins first counts itself and then waits
// until no mark is set. The interlocked operations are totally ordered, so
// either the joining copy sees the mark and waits for that write to end, or
// the writer sees the new count and takes the mutex: an unlocked write never
// overlaps another write.
//
// A copy that dies with the file open leaves its count behind: the others
// then take the mutex for every write until the last of them closes the block
// (a cost in speed, no write is lost). A mark left by a dead copy is cleared
// by the next copy that joins, once it sees that the marking process has
// ended; a mutex held by a dead copy is abandoned and granted to the next
// waiter. A copy stuck with the mark or the mutex (suspended in a debugger,
// say) must not hang the others: after a few seconds they write anyway, and
// a copy that has once waited that long gives the lock up and writes without
// it until it closes the file, since the stuck copy would cost every later
// write the same wait. Windows still appends each of those writes whole; only
// under Wine can one of them break a line of another copy.
//
// The mutex and the block are open to the current user alone: another user's
// process in the same session could otherwise hold the mutex or change the
// count. Where that security cannot be built, they get the default one. For
// the same reason objects of those names that another user made first are
// not used: the copy then writes without the lock, as one that gave it up.

namespace Error
{
namespace
{
const DWORD ShareWithAll = FILE_SHARE_READ | FILE_SHARE_WRITE;
const DWORD StuckWriterMilliseconds = 5000;

LONG Read(LONG& shared)
{
    return InterlockedCompareExchange(&shared, 0, 0);
}

bool ProcessRuns(DWORD processId)
{
    UniqueKernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}
} // namespace

bool NvAppendFile::Open(LPCSTR path, bool truncate)
{
    if (IsOpen())
        return true;
    if (truncate)
    {
        UniqueFile emptied(
            CreateFileA(path, GENERIC_WRITE, ShareWithAll, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!emptied)
            return false;
    }
    m_file.Reset(CreateFileA(path, FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, ShareWithAll, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_file)
        return false;
    Join();
    return true;
}

bool NvAppendFile::Append(const std::string& bytes)
{
    if (!IsOpen())
        return false;
    return Serialised([&] { return Write(bytes); });
}

bool NvAppendFile::AppendIfEmpty(const std::string& bytes)
{
    if (!IsOpen())
        return false;
    return Serialised([&] {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(m_file.Get(), &size))
            return false;
        return size.QuadPart != 0 || Write(bytes);
    });
}

void NvAppendFile::Close()
{
    if (m_shared != nullptr)
        InterlockedDecrement(&m_shared->copies);
    m_shared = nullptr;
    m_view.Reset();
    m_mapping.Reset();
    m_lock.Reset();
    m_file.Reset();
    m_lockGivenUp = false;
    m_lockRefused = false;
}

// Without a block every write takes the mutex; without either, writes go
// unguarded, which only Wine can tear.
void NvAppendFile::Join()
{
    BY_HANDLE_FILE_INFORMATION file;
    if (!GetFileInformationByHandle(m_file.Get(), &file))
        return;
    char name[64];
    wsprintfA(name, "Local\\NvAppendFile-%08lx-%08lx%08lx-lock", file.dwVolumeSerialNumber, file.nFileIndexHigh,
              file.nFileIndexLow);
    NvCurrentUserSecurity security;
    // Made by another user, or closed to this one: such an object is not
    // this user's copies', and whoever made it could hold every write up or
    // make this copy write alone.
    auto foreign = [&security](const UniqueKernelHandle& object) {
        DWORD error = GetLastError();
        return object ? error == ERROR_ALREADY_EXISTS && !security.Owns(object.Get()) : error == ERROR_ACCESS_DENIED;
    };
    m_lock.Reset(CreateMutexA(security.Get(), FALSE, name));
    bool refused = foreign(m_lock);
    wsprintfA(name, "Local\\NvAppendFile-%08lx-%08lx%08lx-count", file.dwVolumeSerialNumber, file.nFileIndexHigh,
              file.nFileIndexLow);
    m_mapping.Reset(
        CreateFileMappingA(INVALID_HANDLE_VALUE, security.Get(), PAGE_READWRITE, 0, sizeof(SharedState), name));
    refused = foreign(m_mapping) || refused;
    if (refused)
    {
        m_lock.Reset();
        m_mapping.Reset();
        m_lockRefused = true;
        return;
    }
    if (!m_mapping)
        return;
    m_view.Reset(MapViewOfFile(m_mapping.Get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(SharedState)));
    if (!m_view)
        return;
    m_shared = static_cast<SharedState*>(m_view.Get());
    m_processId = static_cast<LONG>(GetCurrentProcessId());
    if (InterlockedIncrement(&m_shared->copies) > 1)
        WaitForUnlockedWriter();
}

// The file is used from one thread, so a mark of this process's own is left
// by a dead process whose id has been given to this one.
void NvAppendFile::WaitForUnlockedWriter()
{
    DWORD start = GetTickCount();
    for (;;)
    {
        LONG writer = Read(m_shared->unlockedWriter);
        if (writer == 0)
            return;
        if (writer == m_processId || !ProcessRuns(static_cast<DWORD>(writer)))
        {
            InterlockedCompareExchange(&m_shared->unlockedWriter, 0, writer);
            return;
        }
        if (GetTickCount() - start > StuckWriterMilliseconds)
        {
            m_lockGivenUp = true;
            return;
        }
        Sleep(1);
    }
}

bool NvAppendFile::Write(const std::string& bytes)
{
    DWORD written = 0;
    return WriteFile(m_file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

template <typename Work> bool NvAppendFile::Serialised(Work work)
{
    if (m_lockGivenUp || m_lockRefused)
        return work();
    if (m_shared != nullptr && InterlockedCompareExchange(&m_shared->unlockedWriter, m_processId, 0) == 0)
    {
        bool alone = Read(m_shared->copies) == 1;
        bool done = alone && work();
        InterlockedExchange(&m_shared->unlockedWriter, 0);
        if (alone)
            return done;
    }
    if (!m_lock)
        return work();
    DWORD wait = WaitForSingleObject(m_lock.Get(), StuckWriterMilliseconds);
    m_lockGivenUp = wait == WAIT_TIMEOUT;
    bool done = work();
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED)
        ReleaseMutex(m_lock.Get());
    return done;
}
} // namespace Error
