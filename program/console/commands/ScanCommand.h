#pragma once

#include <string>

#include "program/console/ArgumentParser.h"
#include "program/core/GhostFinder.h"

#include <vector>

// "scan": the ghost stores of every profile of the target user, or with
// --all-users of every signed-in user; nothing changes.
class ScanCommand
{
public:
    struct ProfileScan
    {
        enum class Reading
        {
            Complete,
            // Some sections did not open; the candidates found stand.
            SectionsMissing,
            // An account or a listing was not read: no candidate counts.
            Withheld,
            // The profile key or its accounts key did not open.
            Failed,
        };

        std::wstring name;
        bool isDefault = false;
        Reading reading = Reading::Complete;
        // Why the profile could not be read, or not completely; empty when it
        // was. The message on standard error says the same.
        std::wstring error;
        std::wstring message;
        std::vector<GhostFinder::Candidate> candidates;
    };

    struct UserScan
    {
        std::wstring sid;
        std::wstring account;
        // The profiles key in force, named in full.
        std::wstring root;
        // Why the profiles key cannot be read; empty when it was.
        std::wstring error;
        std::vector<ProfileScan> scans;
        bool unreadable = false;
        bool found = false;
    };

    struct Report
    {
        int exitCode = 0;
        // --all-users: why HKEY_USERS cannot be listed; else why the target
        // user's profiles key cannot be read. Empty when it could.
        std::wstring error;
        bool allUsers = false;
        // The target user alone without --all-users.
        std::vector<UserScan> users;
    };

    static Report Run(const ConsoleArguments& arguments);
};
