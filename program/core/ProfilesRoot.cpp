#include "program/core/ProfilesRoot.h"

#include "library/registry/CRegKeyEx.h"
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
const char* const OfficeRoots[] = {
    "Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles",
    "Software\\Microsoft\\Office\\15.0\\Outlook\\Profiles",
};
const char* const MessagingSubsystemRoot =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";

// The non-empty subkey names of `root`; the open's result.
LONG ReadProfiles(LPCSTR root, std::vector<CString>& profiles)
{
    CRegKeyEx key;
    LONG result = key.Open(TargetUser::Root(), root);
    if (result != ERROR_SUCCESS)
        return result;
    std::vector<CString> names;
    key.EnumSubKeys(names);
    for (const CString& name : names)
    {
        if (!name.IsEmpty())
            profiles.push_back(name);
    }
    return ERROR_SUCCESS;
}

bool HoldsProfile(LPCSTR root)
{
    std::vector<CString> profiles;
    return ReadProfiles(root, profiles) == ERROR_SUCCESS && !profiles.empty();
}
} // namespace

CString FindProfilesRoot()
{
    for (const char* root : OfficeRoots)
    {
        if (HoldsProfile(root))
            return root;
    }
    // Without profiles anywhere the old root stands, as it always did: the
    // user then hears that it is missing or empty.
    return MessagingSubsystemRoot;
}

std::vector<CString> GetKnownProfilesRoots()
{
    std::vector<CString> roots(std::begin(OfficeRoots), std::end(OfficeRoots));
    roots.push_back(MessagingSubsystemRoot);
    return roots;
}

CString GetProfilesRoot()
{
    // One root for each user that the run works on, each kept once found.
    // The window's ghost list is read on a thread of its own.
    static std::mutex guard;
    static std::map<std::string, CString> roots;
    std::lock_guard<std::mutex> lock(guard);
    CString& root = roots[TargetUser::Sid().Str()];
    if (root.IsEmpty())
        root = FindProfilesRoot();
    return root;
}

CString GetDefaultProfileKey()
{
    CString root = GetProfilesRoot();
    if (root == MessagingSubsystemRoot)
        return root;
    const CString profiles = "\\Profiles";
    return root.Left(root.GetLength() - profiles.GetLength());
}

CString GetProfileKeyPath(const CString& profileName)
{
    return GetProfilesRoot() + "\\" + profileName;
}

std::vector<CString> ListProfiles()
{
    CString root = GetProfilesRoot();
    std::vector<CString> profiles;
    LONG result = ReadProfiles(root, profiles);
    if (result != ERROR_SUCCESS)
        ThrowOpenKeyFailure(result, root, __FILE__, __LINE__);
    return profiles;
}

void SortAsProfileList(std::vector<CString>& profiles)
{
    // The list control's own comparison: "Émilie" comes before "Fryderyk",
    // as it would not by code point.
    std::stable_sort(profiles.begin(), profiles.end(),
                     [](const CString& left, const CString& right) { return lstrcmpiA(left, right) < 0; });
}

CString ReadDefaultProfile()
{
    CRegKeyEx key;
    char name[512] = "";
    ULONG capacity = 0x1FF;
    // A value that cannot be read leaves nothing defined in the buffer.
    if (key.Open(TargetUser::Root(), GetDefaultProfileKey()) != ERROR_SUCCESS ||
        key.QueryStringValue("DefaultProfile", name, &capacity) != ERROR_SUCCESS)
        return CString();
    return name;
}
