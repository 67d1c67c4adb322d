#include "program/console/commands/ListCommand.h"

#include "library/base/TextConversion.h"
#include "library/error/NvException.h"
#include "program/console/ExitCode.h"
#include "program/console/commands/SignedInUsers.h"
#include "program/core/ProfileReading.h"
#include "program/core/ProfileSection.h"
#include "program/core/ProfilesRoot.h"
#include "program/core/TargetUser.h"

#include <optional>

namespace
{
ListCommand::Profiles ReadTargetUsersProfiles()
{
    ListCommand::Profiles user;
    user.sid = AnsiToWide(TargetUser::Sid());
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
    report.exitCode = report.error.empty() ? ExitCode::Clean : ExitCode::ProfileNotOpened;
    return report;
}

ListCommand::UsersReport ListCommand::ListUsers()
{
    UsersReport report;
    bool unreadable = false;
    report.error = ForEachSignedInUser([&] {
        report.users.push_back(ReadTargetUsersProfiles());
        unreadable = unreadable || !report.users.back().error.empty();
    });
    unreadable = unreadable || !report.error.empty();
    report.exitCode = unreadable ? ExitCode::ProfileNotOpened : ExitCode::Clean;
    return report;
}

ListCommand::SectionsReport ListCommand::ListSections(const ConsoleArguments& arguments)
{
    SectionsReport report;
    report.profile = arguments.profile;
    report.pst = arguments.pst;
    std::wstring path = GetProfileKeyPath(arguments.profile);
    report.profileKey = FullKey(path);
    std::optional<ProfileReading> reading;
    try
    {
        reading.emplace(ProfileReading::Read(ProfileReading::OpenKeys(TargetUser::Root(), path), false));
    }
    catch (const Error::NvException& e)
    {
        report.error = e.GetWideText();
        report.exitCode = ExitCode::ProfileNotOpened;
        return report;
    }
    const ReferencedSections& referenced = reading->GetReferenced();
    for (const std::wstring& name : reading->GetSectionNames())
    {
        if (ProfileSection::IsReservedName(name))
            continue;
        ProfileSection section;
        if (section.Open(reading->GetProfileKey(), name) != ERROR_SUCCESS)
        {
            report.unreadableSections.push_back(name);
            continue;
        }
        section.ReadTexts(false);
        if (section.GetDisplayName().empty() && section.GetProvider().empty())
            continue;
        section.ReadReferences(false);
        bool tied =
            referenced.FindTie(name, section.GetReference1(), section.GetReference2()) != ReferencedSections::Tie::None;
        report.sections.push_back(
            {name, section.GetDisplayName(), section.GetProvider(), tied, reading->IsGhost(name, section)});
    }
    report.unreadableAccounts = referenced.GetFailedAccounts();
    report.exitCode = ExitCode::Clean;
    return report;
}
