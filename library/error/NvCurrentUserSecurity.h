#pragma once

#include <windows.h>

#include <vector>

namespace Error
{
// Security attributes for named kernel objects that only the user of the
// process token can open: a DACL with one entry, granting that user all
// access.
class NvCurrentUserSecurity
{
public:
    NvCurrentUserSecurity();
    NvCurrentUserSecurity(const NvCurrentUserSecurity&) = delete;
    NvCurrentUserSecurity& operator=(const NvCurrentUserSecurity&) = delete;

    // Null when the descriptor could not be built: objects created with it
    // get the default security.
    SECURITY_ATTRIBUTES* Get() { return m_built ? &m_attributes : nullptr; }

    // True when `object`, opened with READ_CONTROL, is owned by this
    // process's user or by the token's default owner (which an elevated
    // token makes the Administrators group): one that this user's copies
    // made, or has no owner. False when its owner is another or cannot be
    // read.
    bool Owns(HANDLE object) const;

private:
    std::vector<BYTE> m_user;
    std::vector<BYTE> m_owner;
    std::vector<BYTE> m_acl;
    SECURITY_DESCRIPTOR m_descriptor = {};
    SECURITY_ATTRIBUTES m_attributes = {};
    bool m_built = false;
};
} // namespace Error
