#include "program/core/TargetUser.h"

#include "library/base/CRegKey.h"
#include "library/base/UniqueHandle.h"
#include "library/registry/CRegKeyEx.h"
#include "library/system/ProcessOwner.h"
#include "program/core/CLogFile.h"

#include <sddl.h>

#include <vector>

namespace
{
struct Target
{
    CRegKey hive;
    CString sid;
    CString account;
};

Target& Current()
{
    static Target target;
    return target;
}
} // namespace

HKEY TargetUser::Root()
{
    return Current().sid.IsEmpty() ? HKEY_CURRENT_USER : Current().hive.m_hKey;
}

CString TargetUser::RootName()
{
    return Current().sid.IsEmpty() ? CString("HKEY_CURRENT_USER") : "HKEY_USERS\\" + Current().sid;
}

const CString& TargetUser::Sid()
{
    return Current().sid;
}

const CString& TargetUser::Account()
{
    return Current().account;
}

LONG TargetUser::Choose(const CString& sid)
{
    Target& target = Current();
    // A failed open keeps the hive held before.
    LONG result = target.hive.Open(HKEY_USERS, sid);
    if (result != ERROR_SUCCESS)
        return result;
    target.sid = sid;
    target.account = LookUpAccount(sid);
    return ERROR_SUCCESS;
}

void TargetUser::ChooseCaller()
{
    Target& target = Current();
    target.hive.Close();
    target.sid.Empty();
    target.account.Empty();
}

void TargetUser::LogChoice()
{
    const Target& target = Current();
    if (target.sid.IsEmpty())
        return;
    if (target.account.IsEmpty())
        CLogFile::Instance().InfoF("Rejestr użytkownika %s.", target.sid.GetString());
    else
        CLogFile::Instance().InfoF("Rejestr użytkownika %s (%s).", target.account.GetString(), target.sid.GetString());
}

bool TargetUser::ResolveUser(const CString& name, CString& sid)
{
    // An account may well be called "S-something": only a name that reads
    // as a SID is taken for one.
    PSID parsed = nullptr;
    if (name.Left(2).CompareNoCase("S-") == 0 && ConvertStringSidToSidA(name, &parsed))
    {
        UniqueLocalMemory owner(parsed);
        sid = SidToText(parsed);
        return !sid.IsEmpty();
    }
    DWORD sidSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use = SidTypeUnknown;
    LookupAccountNameA(nullptr, name, nullptr, &sidSize, nullptr, &domainSize, &use);
    if (sidSize == 0)
        return false;
    std::vector<BYTE> buffer(sidSize);
    std::vector<char> domain(domainSize + 1);
    if (!LookupAccountNameA(nullptr, name, buffer.data(), &sidSize, domain.data(), &domainSize, &use) ||
        use != SidTypeUser)
        return false;
    sid = SidToText(buffer.data());
    return !sid.IsEmpty();
}

CString TargetUser::LookUpAccount(const CString& sid)
{
    PSID parsed = nullptr;
    if (!ConvertStringSidToSidA(sid, &parsed))
        return CString();
    UniqueLocalMemory owner(parsed);
    char name[256] = "";
    char domain[256] = "";
    DWORD nameSize = sizeof(name);
    DWORD domainSize = sizeof(domain);
    SID_NAME_USE use = SidTypeUnknown;
    if (!LookupAccountSidA(nullptr, parsed, name, &nameSize, domain, &domainSize, &use))
        return CString();
    return domain[0] != '\0' ? CString(domain) + "\\" + name : CString(name);
}

LONG TargetUser::ListSignedInUsers(std::vector<CString>& sids)
{
    CRegKeyEx users;
    // Listing is all that is done here, and only administrators may write.
    LONG result = users.Open(HKEY_USERS, "", KEY_READ);
    if (result != ERROR_SUCCESS)
        return result;
    std::vector<CString> names;
    result = users.EnumSubKeys(names);
    const CString classes = "_Classes";
    for (const CString& name : names)
    {
        bool person = name.Left(9).CompareNoCase("S-1-5-21-") == 0 || name.Left(9).CompareNoCase("S-1-12-1-") == 0;
        bool classesHive = name.GetLength() > classes.GetLength() &&
                           name.Mid(name.GetLength() - classes.GetLength()).CompareNoCase(classes) == 0;
        if (person && !classesHive)
            sids.push_back(name);
    }
    return result;
}
