#pragma once

#include "library/base/UniqueHandle.h"

#include <string>

// A key of HKEY_CURRENT_USER made a volatile symbolic link to the key of
// kernel name `target` ("\Registry\User\<SID>\..."), as a user may make one
// in their own hive; a target that does not exist leaves a key that lists
// but does not open. It goes by its own handle: a deletion by name would
// follow it.
class PlantedLink
{
public:
    PlantedLink(const std::string& path, const std::wstring& target);
    ~PlantedLink();
    PlantedLink(const PlantedLink&) = delete;
    PlantedLink& operator=(const PlantedLink&) = delete;

    bool IsPlanted() const { return m_planted; }

private:
    UniqueRegistryKey m_key;
    bool m_planted = false;
};
