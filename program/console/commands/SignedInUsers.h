#pragma once

#include "library/base/CString.h"

#include <functional>
#include <vector>

// What the list and scan commands read of the target user and of every
// signed-in user.

// A key below the target user's root as the registry editor names it.
CString FullKey(const CString& path);

// Runs `read` with each signed-in user chosen in turn, then works on the
// caller's own registry again; why HKEY_USERS cannot be listed, or empty.
CString ForEachSignedInUser(const std::function<void()>& read);

// The profiles of the root in force in the window's order; none, with the
// reason in `error`, when the root does not open.
std::vector<CString> ReadProfiles(CString& error);

bool IsDefaultProfile(const CString& name, const CString& defaultProfile);
