#include "tests/program/console/SecondUserHive.h"

#include <stdexcept>

SecondUserHive::SecondUserHive(const std::string& sid) : m_sid(sid)
{
    if (RegCreateKeyExA(HKEY_USERS, sid.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_hive.m_hKey, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot create HKEY_USERS\\" + sid);
}

SecondUserHive::~SecondUserHive()
{
    m_hive.Close();
    RegDeleteTreeA(HKEY_USERS, m_sid.c_str());
    RegDeleteKeyA(HKEY_USERS, m_sid.c_str());
}

void SecondUserHive::BuildAsCurrentUser(const std::function<void()>& build) const
{
    RegOverridePredefKey(HKEY_CURRENT_USER, m_hive);
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
