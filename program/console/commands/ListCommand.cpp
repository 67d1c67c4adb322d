#include "program/console/commands/ListCommand.h"

#include "library/error/NvException.h"
#include "program/console/ExitCode.h"
#include "program/console/commands/SignedInUsers.h"
#include "program/core/GhostFinder.h"
#include "program/core/GhostPstRemover.h"
#include "program/core/ProfileSection.h"
#include "program/core/ProfilesRoot.h"
#include "program/core/ReferencedSections.h"
#include "program/core/TargetUser.h"

namespace
{
ListCommand::Profiles ReadTargetUsersProfiles()
{
    ListCommand::Profiles user;
    user.sid = TargetUser::Sid();
    user.account = TargetUser::Account();
    user.root = FullKey(GetProfilesRoot());
    user.profiles = ReadProfiles(user.error);
    user.defaultProfile = ReadDefaultProfile();
    return user;
}
} // namespace

ListCommand::ProfilesReport ListCommand::ListProfiles(const ConsoleArguments& arguments)
{
    ProfilesReport report;
    report.profile = arguments.profile;
    report.pst = arguments.pst;
    report.user = ReadTargetUsersProfiles();
    report.error = report.user.error;
    report.exitCode = report.error.IsEmpty() ? ExitCode::Clean : ExitCode::ProfileNotOpened;
    return report;
}

ListCommand::UsersReport ListCommand::ListUsers()
{
    UsersReport report;
    bool unreadable = false;
    report.error = ForEachSignedInUser([&] {
        report.users.push_back(ReadTargetUsersProfiles());
        unreadable = unreadable || !report.users.back().error.IsEmpty();
    });
    unreadable = unreadable || !report.error.IsEmpty();
    report.exitCode = unreadable ? ExitCode::ProfileNotOpened : ExitCode::Clean;
    return report;
}

ListCommand::SectionsReport ListCommand::ListSections(const ConsoleArguments& arguments)
{
    SectionsReport report;
    report.profile = arguments.profile;
    report.pst = arguments.pst;
    CString path = GetProfileKeyPath(arguments.profile);
    report.profileKey = FullKey(path);
    CRegKeyEx profileKey;
    CRegKeyEx accountsKey;
    try
    {
        GhostPstRemover::OpenProfileKeys(path, profileKey, accountsKey);
    }
    catch (const Error::NvException& e)
    {
        report.error = e.GetText();
        report.exitCode = ExitCode::ProfileNotOpened;
        return report;
    }
    ReferencedSections referenced;
    referenced.Collect(profileKey, accountsKey, false);
    std::vector<CString> names;
    profileKey.EnumSubKeys(names);
    for (const CString& name : names)
    {
        if (name.IsEmpty() || ProfileSection::IsReservedName(name))
            continue;
        ProfileSection section;
        if (section.Open(profileKey, name) != ERROR_SUCCESS)
        {
            report.unreadableSections.push_back(name);
            continue;
        }
        section.ReadTexts(false);
        if (section.GetDisplayName().IsEmpty() && section.GetProvider().IsEmpty())
            continue;
        section.ReadReferences(false);
        bool tied =
            referenced.FindTie(name, section.GetReference1(), section.GetReference2()) != ReferencedSections::Tie::None;
        report.sections.push_back({name, section.GetDisplayName(), section.GetProvider(), tied,
                                   GhostFinder::IsCandidate(name, section, referenced)});
    }
    report.unreadableAccounts = referenced.GetFailedAccounts();
    report.exitCode = ExitCode::Clean;
    return report;
}
