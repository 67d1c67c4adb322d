#pragma once

#include <windows.h>

#include <utility>

// Owns one system handle and releases it with the traits' Close. Releasing
// keeps the thread's last-error value, which a caller may be about to read.
template <typename Traits> class UniqueHandle
{
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : m_handle(handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    Handle Get() const { return m_handle; }
    bool IsValid() const { return m_handle != Traits::Invalid(); }
    explicit operator bool() const { return IsValid(); }

    // Gives the handle up without closing it.
    Handle Release() { return std::exchange(m_handle, Traits::Invalid()); }

    // Closes the held handle, if any, and takes `handle`.
    void Reset(Handle handle = Traits::Invalid())
    {
        Handle old = std::exchange(m_handle, handle);
        if (old != Traits::Invalid())
        {
            DWORD lastError = GetLastError();
            Traits::Close(old);
            SetLastError(lastError);
        }
    }

private:
    Handle m_handle = Traits::Invalid();
};

struct ModuleHandleTraits
{
    using Handle = HMODULE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { FreeLibrary(handle); }
};

struct KernelHandleTraits
{
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

// A registry key opened or created by the caller; never a predefined key.
struct RegistryKeyTraits
{
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { RegCloseKey(handle); }
};

struct FindHandleTraits
{
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { FindClose(handle); }
};

// A file from CreateFile, which fails with INVALID_HANDLE_VALUE.
struct FileHandleTraits
{
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle handle) { CloseHandle(handle); }
};

struct MappedViewTraits
{
    using Handle = void*;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { UnmapViewOfFile(handle); }
};

struct LocalMemoryTraits
{
    using Handle = HLOCAL;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle handle) { LocalFree(handle); }
};

using UniqueModule = UniqueHandle<ModuleHandleTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueMappedView = UniqueHandle<MappedViewTraits>;
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;
