#pragma once

#include "library/base/CString.h"
#include "library/base/UniqueHandle.h"
#include "library/fs/NvFsPathStrTraitA.h"

#include <vector>

// A path is a string with join, split and folder operations. Both "\" and "/"
// separate components when a path is read; the program only inserts "\".
template <typename TStrTraits> class NvFsPathT : public CString
{
public:
    NvFsPathT() = default;
    // Same rules as the string: null gives an empty path, a value below
    // 0x10000 loads that string resource.
    NvFsPathT(LPCSTR text) : CString(text) {}
    NvFsPathT(const CString& text) : CString(text) {}
    NvFsPathT(const NvFsPathT&) = default;
    NvFsPathT& operator=(const NvFsPathT&) = default;
    virtual ~NvFsPathT() = default;

    // Adds "\" unless the path is empty or ends in "\" or "/", then `name`
    // (nothing for a null name). Returns this path.
    NvFsPathT& Append(LPCSTR name)
    {
        if (!IsEmpty())
        {
            char last = GetAt(GetLength() - 1);
            if (last != '\\' && last != '/')
                *this += '\\';
        }
        if (name != nullptr)
            *this += name;
        return *this;
    }

    // The last component: what follows the last "\", or the last "/" when
    // there is no "\", or the whole path. Empty for a path ending in one.
    NvFsPathT GetFileName() const
    {
        if (IsEmpty())
            return NvFsPathT();
        const char* text = GetString();
        const char* separator = TStrTraits::FindLast(text, '\\');
        if (separator == nullptr)
            separator = TStrTraits::FindLast(text, '/');
        return NvFsPathT(separator == nullptr ? text : separator + 1);
    }

    // Makes every missing folder of the path, rebuilt with "\" only. A path of
    // fewer than two components creates nothing and reports whether it is an
    // existing folder; the first component (drive or server) is never created.
    // Stops with false at the first folder that cannot be made.
    bool CreateDirectories() const;

private:
    std::vector<CString> SplitComponents() const
    {
        std::vector<CString> components;
        const char* start = nullptr;
        for (const char* p = GetString(); *p != '\0'; p = TStrTraits::Next(p))
        {
            bool separator = *p == '\\' || *p == '/';
            if (separator && start != nullptr)
            {
                components.emplace_back(start, static_cast<int>(p - start));
                start = nullptr;
            }
            else if (!separator && start == nullptr)
            {
                start = p;
            }
        }
        if (start != nullptr)
            components.emplace_back(start);
        return components;
    }
};

using NvFsPath = NvFsPathT<Traits::NvFsPathStrTraitA>;

// A copy of `base` with `name` appended as by Append.
template <typename TStrTraits> NvFsPathT<TStrTraits> Combine(const NvFsPathT<TStrTraits>& base, LPCSTR name)
{
    NvFsPathT<TStrTraits> result(base);
    result.Append(name);
    return result;
}

// FindFirstFileA on `pattern`, the entry itself discarded; INVALID_HANDLE_VALUE
// when nothing matches. The caller closes a valid handle with FindClose.
inline HANDLE FindFirstMatch(LPCSTR pattern)
{
    WIN32_FIND_DATAA data;
    return FindFirstFileA(pattern, &data);
}

// True when `path` names an existing folder (a file gives false).
template <typename TStrTraits> bool DirectoryExists(const NvFsPathT<TStrTraits>& path)
{
    UniqueFindHandle search(FindFirstMatch(Combine(path, "*.*")));
    return search.IsValid();
}

template <typename TStrTraits> bool NvFsPathT<TStrTraits>::CreateDirectories() const
{
    std::vector<CString> components = SplitComponents();
    if (components.size() < 2)
        return DirectoryExists(*this);

    bool network = GetLength() >= 2 && GetAt(0) == '\\' && GetAt(1) == '\\';
    NvFsPathT path(network ? "\\\\" : "");
    path.Append(components[0]);
    for (size_t i = 1; i < components.size(); ++i)
    {
        path.Append(components[i]);
        if (DirectoryExists(path))
            continue;
        if (CreateDirectoryA(path, nullptr))
            continue;
        // A folder that another process made since the test counts as made;
        // a file of that name does not. The caller reads the creation's code.
        DWORD error = GetLastError();
        if (error == ERROR_ALREADY_EXISTS && DirectoryExists(path))
            continue;
        SetLastError(error);
        return false;
    }
    return true;
}
