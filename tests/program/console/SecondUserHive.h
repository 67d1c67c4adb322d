#pragma once

#include "library/base/UniqueHandle.h"

#include <functional>
#include <string>

// A signed-in second user's registry hive, made as a key below HKEY_USERS
// that the Wine server keeps in memory while it runs; deleted with its whole
// tree when the object dies.
class SecondUserHive
{
public:
    explicit SecondUserHive(const std::string& sid);
    ~SecondUserHive();
    SecondUserHive(const SecondUserHive&) = delete;
    SecondUserHive& operator=(const SecondUserHive&) = delete;

    const std::string& Sid() const { return m_sid; }
    // Runs `build` with HKEY_CURRENT_USER standing for this hive, so that the
    // profile builders of the tests build there.
    void BuildAsCurrentUser(const std::function<void()>& build) const;

private:
    std::string m_sid;
    UniqueRegistryKey m_hive;
};
