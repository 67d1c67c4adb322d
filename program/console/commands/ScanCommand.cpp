#include "program/console/commands/ScanCommand.h"

#include "library/base/TextConversion.h"
#include "library/error/NvException.h"
#include "program/console/ConsoleText.h"
#include "program/console/ExitCode.h"
#include "program/console/commands/SignedInUsers.h"
#include "program/core/ProfilesRoot.h"
#include "program/core/RegistryFailure.h"
#include "program/core/TargetUser.h"

namespace
{
// How long a scan waits for the answers about its ghosts' files, all asked
// at once: a file on a server that is gone answers when the network gives
// up, tens of seconds later on Windows.
const DWORD FileQuestionBoundMs = 5000;

// A reading with an unread account offers no candidate: a live store tied
// only through it would look like a ghost. A section that does not open
// leaves the others' ties as they are, so what was found stands, but "none"
// cannot be said.
ScanCommand::ProfileScan ScanProfile(const std::wstring& name, bool isDefault)
{
    using ProfileScan = ScanCommand::ProfileScan;
    ProfileScan scan;
    scan.name = name;
    scan.isDefault = isDefault;
    GhostFinder::Result result;
    try
    {
        result = GhostFinder::Find(TargetUser::Root(), name);
    }
    catch (const Error::NvException& e)
    {
        scan.reading = ProfileScan::Reading::Failed;
        scan.error = e.GetWideText();
        scan.message = L"the profile " + Quote(name) + L" cannot be read: " + scan.error;
        return scan;
    }
    std::vector<std::wstring> reasons;
    for (const std::wstring& account : result.unreadAccounts)
        reasons.push_back(L"the account key " + Quote(account) + L" cannot be read");
    // An account that failed says enough about an incomplete listing.
    if (result.accountsListingStopped && result.unreadAccounts.empty())
        reasons.push_back(L"the listing of the accounts stopped early");
    if (result.sectionsListingFailure != ERROR_SUCCESS)
        reasons.push_back(L"the listing of the sections stopped early: " +
                          AnsiToWide(RegistryFailureText(result.sectionsListingFailure, "")));
    for (const std::wstring& section : result.unopenedSections)
        reasons.push_back(L"the section " + Quote(section) + L" cannot be opened");
    std::wstring consequence;
    if (!result.IsComplete())
    {
        scan.reading = ProfileScan::Reading::Withheld;
        consequence = L"A store tied only through what was not read would look like a ghost, so none is offered.";
    }
    else
    {
        scan.candidates = std::move(result.candidates);
        if (!result.unopenedSections.empty())
            scan.reading = ProfileScan::Reading::SectionsMissing;
        consequence = L"A section that does not open may be a ghost store that is not listed.";
    }
    if (scan.reading != ProfileScan::Reading::Complete)
    {
        std::wstring detail = L"cannot be read completely: ";
        for (size_t i = 0; i < reasons.size(); ++i)
            detail += (i == 0 ? L"" : L"; ") + reasons[i];
        detail += L". " + consequence;
        scan.error = L"The profile " + detail;
        scan.message = L"the profile " + Quote(name) + L" " + detail;
    }
    return scan;
}

// The ghosts of every profile of the target user, their files asked about.
ScanCommand::UserScan ScanTargetUser()
{
    ScanCommand::UserScan user;
    user.sid = AnsiToWide(TargetUser::Sid());
    user.account = TargetUser::Account();
    user.root = FullKey(GetProfilesRoot());
    std::vector<std::wstring> profiles = ReadProfiles(user.error);
    std::wstring defaultProfile = ReadDefaultProfile();
    user.unreadable = !user.error.empty();
    for (const std::wstring& profile : profiles)
    {
        user.scans.push_back(ScanProfile(profile, IsDefaultProfile(profile, defaultProfile)));
        user.unreadable = user.unreadable || !user.scans.back().error.empty();
        user.found = user.found || !user.scans.back().candidates.empty();
    }
    std::vector<GhostFinder::Candidate*> candidates;
    for (ScanCommand::ProfileScan& scan : user.scans)
    {
        for (GhostFinder::Candidate& candidate : scan.candidates)
            candidates.push_back(&candidate);
    }
    GhostFinder::AskFiles(candidates, FileQuestionBoundMs);
    return user;
}
} // namespace

ScanCommand::Report ScanCommand::Run(const ConsoleArguments& arguments)
{
    Report report;
    report.allUsers = arguments.allUsers;
    bool unreadable = false;
    bool found = false;
    auto add = [&](UserScan user) {
        unreadable = unreadable || user.unreadable;
        found = found || user.found;
        report.users.push_back(std::move(user));
    };
    if (arguments.allUsers)
    {
        report.error = ForEachSignedInUser([&] { add(ScanTargetUser()); });
        unreadable = unreadable || !report.error.empty();
    }
    else
    {
        add(ScanTargetUser());
        report.error = report.users[0].error;
    }
    report.exitCode = found ? ExitCode::InvalidSections : unreadable ? ExitCode::ProfileNotOpened : ExitCode::Clean;
    return report;
}
