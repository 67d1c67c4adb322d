#include "program/core/ProfilesRoot.h"

#include "library/base/RegistryKey.h"
#include "program/core/RegistryFailure.h"
#include "program/core/TargetUser.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace
{
const wchar_t* const OfficeRoots[] = {
    L"Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles",
    L"Software\\Microsoft\\Office\\15.0\\Outlook\\Profiles",
};
const wchar_t* const MessagingSubsystemRoot =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";

// The non-empty subkey names of `root`; the open's result.
LONG ReadProfiles(const std::wstring& root, std::vector<std::wstring>& profiles)
{
    RegistryKey key;
    LONG result = key.Open(TargetUser::Root(), root);
    if (result != ERROR_SUCCESS)
        return result;
    std::vector<std::wstring> names;
    key.EnumSubKeys(names);
    for (const std::wstring& name : names)
    {
        if (!name.empty())
            profiles.push_back(name);
    }
    return ERROR_SUCCESS;
}

bool HoldsProfile(const wchar_t* root)
{
    std::vector<std::wstring> profiles;
    return ReadProfiles(root, profiles) == ERROR_SUCCESS && !profiles.empty();
}
} // namespace

std::wstring FindProfilesRoot()
{
    for (const wchar_t* root : OfficeRoots)
    {
        if (HoldsProfile(root))
            return root;
    }
    // Without profiles anywhere the old root stands, as it always did: the
    // user then hears that it is missing or empty.
    return MessagingSubsystemRoot;
}

std::vector<std::wstring> GetKnownProfilesRoots()
{
    std::vector<std::wstring> roots(std::begin(OfficeRoots), std::end(OfficeRoots));
    roots.push_back(MessagingSubsystemRoot);
    return roots;
}

std::wstring GetProfilesRoot()
{
    // One root for each user that the run works on, each kept once found.
    // The window's ghost list is read on a thread of its own.
    static std::mutex guard;
    static std::map<std::string, std::wstring> roots;
    std::lock_guard<std::mutex> lock(guard);
    std::wstring& root = roots[TargetUser::Sid().Str()];
    if (root.empty())
        root = FindProfilesRoot();
    return root;
}

std::wstring GetDefaultProfileKey()
{
    std::wstring root = GetProfilesRoot();
    if (root == MessagingSubsystemRoot)
        return root;
    const std::wstring profiles = L"\\Profiles";
    return root.substr(0, root.size() - profiles.size());
}

std::wstring GetProfileKeyPath(const std::wstring& profileName)
{
    return GetProfilesRoot() + L"\\" + profileName;
}

std::vector<std::wstring> ListProfiles()
{
    std::wstring root = GetProfilesRoot();
    std::vector<std::wstring> profiles;
    LONG result = ReadProfiles(root, profiles);
    if (result != ERROR_SUCCESS)
        ThrowOpenKeyFailure(result, root, __FILE__, __LINE__);
    return profiles;
}

void SortAsProfileList(std::vector<std::wstring>& profiles)
{
    // The list control's own comparison: "Émilie" comes before "Fryderyk",
    // as it would not by code point.
    std::stable_sort(profiles.begin(), profiles.end(), [](const std::wstring& left, const std::wstring& right) {
        return lstrcmpiW(left.c_str(), right.c_str()) < 0;
    });
}

std::wstring ReadDefaultProfile()
{
    RegistryKey key;
    std::wstring name;
    if (key.Open(TargetUser::Root(), GetDefaultProfileKey()) != ERROR_SUCCESS ||
        key.QueryStringValue(L"DefaultProfile", name, 0x1FF) != ERROR_SUCCESS)
        return std::wstring();
    return name;
}
