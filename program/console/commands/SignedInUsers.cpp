#include "program/console/commands/SignedInUsers.h"

#include "library/base/NameComparison.h"
#include "library/base/TextConversion.h"
#include "library/error/NvException.h"
#include "program/core/ProfilesRoot.h"
#include "program/core/RegistryFailure.h"
#include "program/core/TargetUser.h"

std::wstring FullKey(const std::wstring& path)
{
    return TargetUser::RootName() + L"\\" + path;
}

std::wstring ForEachSignedInUser(const std::function<void()>& read)
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
    return listing == ERROR_SUCCESS ? std::wstring()
                                    : AnsiToWide(RegistryFailureText(listing, "HKEY_USERS cannot be listed."));
}

std::vector<std::wstring> ReadProfiles(std::wstring& error)
{
    std::vector<std::wstring> profiles;
    try
    {
        profiles = ListProfiles();
    }
    catch (const Error::NvException& e)
    {
        error = e.GetWideText();
    }
    SortAsProfileList(profiles);
    return profiles;
}

bool IsDefaultProfile(const std::wstring& name, const std::wstring& defaultProfile)
{
    return !defaultProfile.empty() && SameName(name, defaultProfile);
}
