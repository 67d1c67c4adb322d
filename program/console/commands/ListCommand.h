#pragma once

#include "library/base/CString.h"
#include "program/console/ArgumentParser.h"

#include <vector>

// "list": the profiles of the target user, of every signed-in user with
// --all-users, or with --profile the named sections of one profile.
class ListCommand
{
public:
    // One user's profiles, in the window's order.
    struct Profiles
    {
        CString sid;
        CString account;
        // The profiles key in force, named in full.
        CString root;
        CString defaultProfile;
        // Why the profiles key cannot be read; empty when it was.
        CString error;
        std::vector<CString> profiles;
    };

    struct ProfilesReport
    {
        int exitCode = 0;
        CString error;
        // As given.
        CString profile;
        CString pst;
        Profiles user;
    };

    struct UsersReport
    {
        int exitCode = 0;
        // Why HKEY_USERS cannot be listed; empty when it could.
        CString error;
        std::vector<Profiles> users;
    };

    struct Section
    {
        CString id;
        CString displayName;
        CString provider;
        bool tied = false;
        bool ghost = false;
    };

    struct SectionsReport
    {
        int exitCode = 0;
        // Why the profile or its accounts key cannot be opened.
        CString error;
        CString profile;
        CString pst;
        CString profileKey;
        // The sections with a display name or a provider library.
        std::vector<Section> sections;
        std::vector<CString> unreadableAccounts;
        std::vector<CString> unreadableSections;
    };

    static ProfilesReport ListProfiles(const ConsoleArguments& arguments);
    static UsersReport ListUsers();
    static SectionsReport ListSections(const ConsoleArguments& arguments);
};
