#pragma once

#include <string>

#include <functional>
#include <vector>

// What the list and scan commands read of the target user and of every
// signed-in user.

// A key below the target user's root as the registry editor names it.
std::wstring FullKey(const std::wstring& path);

// Runs `read` with each signed-in user chosen in turn, then works on the
// caller's own registry again; why HKEY_USERS cannot be listed, or empty.
std::wstring ForEachSignedInUser(const std::function<void()>& read);

// The profiles of the root in force in the window's order; none, with the
// reason in `error`, when the root does not open.
std::vector<std::wstring> ReadProfiles(std::wstring& error);

bool IsDefaultProfile(const std::wstring& name, const std::wstring& defaultProfile);
