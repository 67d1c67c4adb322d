#include "program/core/TargetUser.h"

#include "library/base/NameComparison.h"
#include "library/base/RegistryKey.h"
#include "library/base/TextConversion.h"
#include "library/base/UniqueHandle.h"
#include "library/system/ProcessOwner.h"
#include "program/core/CLogFile.h"

#include <sddl.h>

#include <vector>

namespace
{
struct Target
{
    RegistryKey hive;
    CString sid;
    std::wstring account;
};

Target& Current()
{
    static Target target;
    return target;
}
} // namespace

HKEY TargetUser::Root()
{
    return Current().sid.IsEmpty() ? HKEY_CURRENT_USER : Current().hive.Get();
}

std::wstring TargetUser::RootName()
{
    return Current().sid.IsEmpty() ? std::wstring(L"HKEY_CURRENT_USER") : L"HKEY_USERS\\" + AnsiToWide(Current().sid);
}

const CString& TargetUser::Sid()
{
    return Current().sid;
}

const std::wstring& TargetUser::Account()
{
    return Current().account;
}

LONG TargetUser::Choose(const CString& sid)
{
    Target& target = Current();
    // A failed open keeps the hive held before.
    LONG result = target.hive.Open(HKEY_USERS, AnsiToWide(sid));
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
    target.account.clear();
}

void TargetUser::LogChoice()
{
    const Target& target = Current();
    if (target.sid.IsEmpty())
        return;
    if (target.account.empty())
        CLogFile::Instance().InfoF("Rejestr użytkownika %s.", target.sid.GetString());
    else
        CLogFile::Instance().InfoF("Rejestr użytkownika %s (%s).", WideToAnsiMarked(target.account).GetString(),
                                   target.sid.GetString());
}

bool TargetUser::ResolveUser(const std::wstring& name, CString& sid)
{
    // An account may well be called "S-something": only a name that reads
    // as a SID is taken for one.
    PSID parsed = nullptr;
    if (SameName(name.substr(0, 2), L"S-") && ConvertStringSidToSidW(name.c_str(), &parsed))
    {
        UniqueLocalMemory owner(parsed);
        sid = SidToText(parsed);
        return !sid.IsEmpty();
    }
    DWORD sidSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use = SidTypeUnknown;
    LookupAccountNameW(nullptr, name.c_str(), nullptr, &sidSize, nullptr, &domainSize, &use);
    if (sidSize == 0)
        return false;
    std::vector<BYTE> buffer(sidSize);
    std::vector<wchar_t> domain(domainSize + 1);
    if (!LookupAccountNameW(nullptr, name.c_str(), buffer.data(), &sidSize, domain.data(), &domainSize, &use) ||
        use != SidTypeUser)
        return false;
    sid = SidToText(buffer.data());
    return !sid.IsEmpty();
}

std::wstring TargetUser::LookUpAccount(const CString& sid)
{
    PSID parsed = nullptr;
    if (!ConvertStringSidToSidA(sid, &parsed))
        return std::wstring();
    UniqueLocalMemory owner(parsed);
    wchar_t name[256] = L"";
    wchar_t domain[256] = L"";
    DWORD nameSize = ARRAYSIZE(name);
    DWORD domainSize = ARRAYSIZE(domain);
    SID_NAME_USE use = SidTypeUnknown;
    if (!LookupAccountSidW(nullptr, parsed, name, &nameSize, domain, &domainSize, &use))
        return std::wstring();
    return domain[0] != L'\0' ? std::wstring(domain) + L"\\" + name : std::wstring(name);
}

LONG TargetUser::ListSignedInUsers(std::vector<CString>& sids)
{
    RegistryKey users;
    // Listing is all that is done here, and only administrators may write.
    LONG result = users.Open(HKEY_USERS, L"", KEY_READ);
    if (result != ERROR_SUCCESS)
        return result;
    std::vector<std::wstring> names;
    result = users.EnumSubKeys(names);
    const std::wstring classes = L"_Classes";
    for (const std::wstring& name : names)
    {
        bool person = SameName(name.substr(0, 9), L"S-1-5-21-") || SameName(name.substr(0, 9), L"S-1-12-1-");
        bool classesHive = name.size() > classes.size() && SameName(name.substr(name.size() - classes.size()), classes);
        // A SID's text is plain ASCII: a hive named otherwise is no user's.
        CString sid;
        if (person && !classesHive && WideToAnsiExactly(name, sid))
            sids.push_back(sid);
    }
    return result;
}
