#pragma once

#include <string>

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
        std::wstring sid;
        std::wstring account;
        // The profiles key in force, named in full.
        std::wstring root;
        std::wstring defaultProfile;
        // Why the profiles key cannot be read; empty when it was.
        std::wstring error;
        std::vector<std::wstring> profiles;
    };

    struct ProfilesReport
    {
        int exitCode = 0;
        std::wstring error;
        // As given.
        std::wstring profile;
        std::wstring pst;
        Profiles user;
    };

    struct UsersReport
    {
        int exitCode = 0;
        // Why HKEY_USERS cannot be listed; empty when it could.
        std::wstring error;
        std::vector<Profiles> users;
    };

    struct Section
    {
        std::wstring id;
        std::wstring displayName;
        std::wstring provider;
        bool tied = false;
        bool ghost = false;
    };

    struct SectionsReport
    {
        int exitCode = 0;
        // Why the profile or its accounts key cannot be opened.
        std::wstring error;
        std::wstring profile;
        std::wstring pst;
        std::wstring profileKey;
        // The sections with a display name or a provider library.
        std::vector<Section> sections;
        std::vector<std::wstring> unreadableAccounts;
        std::vector<std::wstring> unreadableSections;
    };

    static ProfilesReport ListProfiles(const ConsoleArguments& arguments);
    static UsersReport ListUsers();
    static SectionsReport ListSections(const ConsoleArguments& arguments);
};
