#pragma once

#include "library/base/UniqueHandle.h"
#include "library/registry/RegistryScript.h"

#include <windows.h>

#include <string>
#include <vector>

// A registry key with every key below it, reached through an open handle:
// read into the keys of a registry script, or written from them. Every key
// below the handle is named relative to it, never by a full path, so nothing
// outside it is read or written.
class RegistryTree
{
public:
    // Reads the key `key`, named `path`, and the keys below it, each before
    // those below it, subkeys in the registry's order, into `keys` (paths
    // `path` + "\" + names); each key's values too unless `keysOnly`.
    // ERROR_SUCCESS, or the code of the first failure, `keys` then holding
    // what was read before it.
    static LONG Read(HKEY key, const std::wstring& path, bool keysOnly, std::vector<RegistryScript::Key>& keys);

    // Writes `keys`, each at or below `path` (as RegistryScript::IsAtOrBelow
    // tells), below `key`: creates each key that is missing and sets each
    // value, in order, as an import does; deletes nothing and passes over
    // deletions. Goes on after a key or value that cannot be written.
    // ERROR_SUCCESS, or the code of the first failure, `failed` then naming
    // where as RegistryScript::Absence::Describe does.
    static LONG Write(HKEY key, const std::wstring& path, const std::vector<RegistryScript::Key>& keys,
                      std::wstring& failed);

    // Opens, or creates, `relative` (names separated by "\") below `key`,
    // one name after the other below the key opened before it, for reading
    // and writing. A user may make any key of their own hive a symbolic link
    // to another key of it: such a key is refused (ERROR_STOPPED_ON_SYMLINK,
    // 681) rather than followed, and every other key is opened as itself, so
    // that `opened` is a key below `key`. ERROR_SUCCESS, or the code of the
    // failure.
    static LONG OpenOrCreate(HKEY key, const std::wstring& relative, UniqueRegistryKey& opened);
};
