#include "program/console/commands/SignedInUsers.h"

#include "library/error/NvException.h"
#include "program/core/ProfilesRoot.h"
#include "program/core/RegistryFailure.h"
#include "program/core/TargetUser.h"

CString FullKey(const CString& path)
{
    return TargetUser::RootName() + "\\" + path;
}

CString ForEachSignedInUser(const std::function<void()>& read)
{
    std::vector<CString> sids;
    LONG listing = TargetUser::ListSignedInUsers(sids);
    for (const CString& sid : sids)
    {
        // A user who signed out since the listing is no longer there.
        if (TargetUser::Choose(sid) == ERROR_SUCCESS)
            read();
    }
    TargetUser::ChooseCaller();
    return listing == ERROR_SUCCESS ? CString() : RegistryFailureText(listing, "HKEY_USERS cannot be listed.");
}

std::vector<CString> ReadProfiles(CString& error)
{
    std::vector<CString> profiles;
    try
    {
        profiles = ListProfiles();
    }
    catch (const Error::NvException& e)
    {
        error = e.GetText();
    }
    SortAsProfileList(profiles);
    return profiles;
}

bool IsDefaultProfile(const CString& name, const CString& defaultProfile)
{
    return !defaultProfile.IsEmpty() && name.CompareNoCase(defaultProfile) == 0;
}
