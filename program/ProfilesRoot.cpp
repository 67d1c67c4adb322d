#include "program/ProfilesRoot.h"

#include "library/registry/CRegKeyEx.h"

#include <vector>

namespace
{
const char* const OfficeRoots[] = {
    "Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles",
    "Software\\Microsoft\\Office\\15.0\\Outlook\\Profiles",
};
const char* const MessagingSubsystemRoot =
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles";

bool HoldsProfile(LPCSTR root)
{
    CRegKeyEx key;
    if (key.Open(HKEY_CURRENT_USER, root) != ERROR_SUCCESS)
        return false;
    std::vector<CString> profiles;
    key.EnumSubKeys(profiles);
    for (const CString& profile : profiles)
    {
        if (!profile.IsEmpty())
            return true;
    }
    return false;
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

CString GetProfilesRoot()
{
    static const CString root = FindProfilesRoot();
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
