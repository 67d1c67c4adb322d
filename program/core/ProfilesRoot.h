#pragma once

#include <string>
#include <vector>

// The key below the target user's HKEY_CURRENT_USER (TargetUser) that holds
// one subkey per mail profile, for the run: decided for each user by the
// first call (FindProfilesRoot) and kept, so that the list, the analysis and
// the backup all work on the same profiles.
std::wstring GetProfilesRoot();

// The key holding "DefaultProfile" for the root in force: the key above
// "Profiles" for the roots of Office 2013 and later, the root itself for the
// older one.
std::wstring GetDefaultProfileKey();

// Outlook 2016 and later ("Office\16.0"), Outlook 2013 ("Office\15.0"), then
// Outlook 97 to 2010 (the Windows Messaging Subsystem): the first of them that
// exists and holds at least one profile; the last one when none does.
std::wstring FindProfilesRoot();

// The three roots of FindProfilesRoot, in its order.
std::vector<std::wstring> GetKnownProfilesRoots();

// The key of profile `profileName` below the target user's root: the root in force,
// "\" and the name.
std::wstring GetProfileKeyPath(const std::wstring& profileName);

// The profiles below the root in force, in registry order, empty names left
// out. Throws as ThrowOpenKeyFailure does, naming the root, when the root
// does not open.
std::vector<std::wstring> ListProfiles();

// Sorts profile names as the window's sorted profile list shows them: by the
// user's locale, ignoring letter case.
void SortAsProfileList(std::vector<std::wstring>& profiles);

// "DefaultProfile" of GetDefaultProfileKey(); empty when it is missing or
// cannot be read.
std::wstring ReadDefaultProfile();
