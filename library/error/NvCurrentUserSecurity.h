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

private:
    std::vector<BYTE> m_acl;
    SECURITY_DESCRIPTOR m_descriptor = {};
    SECURITY_ATTRIBUTES m_attributes = {};
    bool m_built = false;
};
} // namespace Error
