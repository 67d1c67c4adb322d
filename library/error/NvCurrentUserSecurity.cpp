#include "library/error/NvCurrentUserSecurity.h"

#include "library/base/UniqueHandle.h"

#include <aclapi.h>

namespace Error
{
namespace
{
// The token's information of class `kind` into `bytes`; false when it
// cannot be read.
bool ReadToken(HANDLE token, TOKEN_INFORMATION_CLASS kind, std::vector<BYTE>& bytes)
{
    DWORD size = 0;
    GetTokenInformation(token, kind, nullptr, 0, &size);
    if (size == 0)
        return false;
    bytes.resize(size);
    return GetTokenInformation(token, kind, bytes.data(), size, &size) != FALSE;
}
} // namespace

// Generic rights in the entry are mapped to each object's own when the
// object is created, so one descriptor serves a mutex and a mapping alike.
NvCurrentUserSecurity::NvCurrentUserSecurity()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return;
    UniqueKernelHandle ownedToken(token);
    if (!ReadToken(token, TokenUser, m_user))
        return;
    if (!ReadToken(token, TokenOwner, m_owner))
        m_owner.clear();
    PSID sid = reinterpret_cast<TOKEN_USER*>(m_user.data())->User.Sid;
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

bool NvCurrentUserSecurity::Owns(HANDLE object) const
{
    if (m_user.empty())
        return false;
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(object, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                        &descriptor) != ERROR_SUCCESS)
        return false;
    UniqueLocalMemory ownedDescriptor(descriptor);
    // Windows gives every object an owner, from the creator's token when it
    // names none; Wine gives none, and there every object is this user's.
    if (owner == nullptr)
        return true;
    auto user = reinterpret_cast<const TOKEN_USER*>(m_user.data());
    if (EqualSid(owner, user->User.Sid))
        return true;
    auto defaultOwner = reinterpret_cast<const TOKEN_OWNER*>(m_owner.data());
    return !m_owner.empty() && EqualSid(owner, defaultOwner->Owner);
}
} // namespace Error
