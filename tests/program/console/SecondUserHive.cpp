#include "tests/program/console/SecondUserHive.h"

#include <stdexcept>

SecondUserHive::SecondUserHive(const std::string& sid) : m_sid(sid)
{
    HKEY hive = nullptr;
    if (RegCreateKeyExA(HKEY_USERS, sid.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hive, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot create HKEY_USERS\\" + sid);
    m_hive.Reset(hive);
}

SecondUserHive::~SecondUserHive()
{
    m_hive.Reset();
    RegDeleteTreeA(HKEY_USERS, m_sid.c_str());
    RegDeleteKeyA(HKEY_USERS, m_sid.c_str());
}

void SecondUserHive::BuildAsCurrentUser(const std::function<void()>& build) const
{
    RegOverridePredefKey(HKEY_CURRENT_USER, m_hive.Get());
    try
    {
        build();
    }
    catch (...)
    {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        throw;
    }
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
}
