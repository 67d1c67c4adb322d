#include "library/error/NvCurrentUserSecurity.h"

#include "library/framework/UniqueHandle.h"

namespace Error
{
// Generic rights in the entry are mapped to each object's own when the
// object is created, so one descriptor serves a mutex and a mapping alike.
NvCurrentUserSecurity::NvCurrentUserSecurity()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return;
    UniqueKernelHandle ownedToken(token);
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    if (size == 0)
        return;
    std::vector<BYTE> user(size);
    if (!GetTokenInformation(token, TokenUser, user.data(), size, &size))
        return;
    PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sid);
    m_acl.resize(aclSize);
    auto acl = reinterpret_cast<PACL>(m_acl.data());
    if (!InitializeAcl(acl, aclSize, ACL_REVISION) || !AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, sid) ||
        !InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&m_descriptor, TRUE, acl, FALSE))
        return;
    m_attributes = {sizeof(m_attributes), &m_descriptor, FALSE};
    m_built = true;
}
} // namespace Error
