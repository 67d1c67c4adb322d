#include "program/console/TextRenderer.h"

#include "library/base/TextConversion.h"
#include "library/fs/NvFsPathT.h"
#include "program/console/ConsoleText.h"
#include "program/console/ExitCode.h"

#include "program/console/CmdCommandLine.h"
#include "program/console/commands/SignedInUsers.h"

#include <algorithm>
#include <string>

namespace
{
// The text of each profile's ghosts; the commands that repair them are
// added to `repairs`, with --user `sid` unless it is empty.
std::wstring ScannedProfilesText(const std::vector<ScanCommand::ProfileScan>& scans, const std::wstring& sid,
                                 std::wstring& repairs)
{
    using Reading = ScanCommand::ProfileScan::Reading;
    std::wstring text;
    for (const ScanCommand::ProfileScan& scan : scans)
    {
        text += L"\n" + Quote(scan.name) + (scan.isDefault ? L" (default)" : L"");
        if (scan.reading == Reading::Failed)
            text += L": cannot be read\n";
        else if (scan.reading == Reading::Withheld)
            text += L": cannot be read completely\n";
        else if (!scan.candidates.empty())
            text += L":\n";
        else if (scan.reading == Reading::SectionsMissing)
            text += L": none found, but not every section could be read\n";
        else
            text += L": none\n";
        for (const GhostFinder::Candidate& candidate : scan.candidates)
        {
            std::wstring file = candidate.pstPath.empty()  ? std::wstring(L"(no PST file named)")
                                : !candidate.pstFileExists ? candidate.pstPath + L" (no answer in time)"
                                : *candidate.pstFileExists ? candidate.pstPath
                                                           : candidate.pstPath + L" (missing)";
            text += L"  " + candidate.section + L"  " + Quote(candidate.displayName) + L"  " + file + L"\n";
        }
        for (const std::wstring& name : GhostFinder::DistinctNames(scan.candidates))
        {
            std::vector<std::pair<std::wstring, std::wstring>> options;
            if (!sid.empty())
                options.emplace_back(L"--user", sid);
            options.emplace_back(L"--profile", scan.name);
            options.emplace_back(L"--pst", name);
            std::wstring command = CmdCommandLine(L"straysweep repair", options);
            repairs += command.empty() ? L"  The PST " + Quote(name) + L" of the profile " + Quote(scan.name) +
                                             L": no command line can carry these names safely; repair it "
                                             L"with the names that \"straysweep scan --json\" gives.\n"
                                       : L"  " + command + L"\n";
        }
    }
    return text;
}

// One indented line a profile, the default one marked.
std::wstring ProfileLines(const ListCommand::Profiles& user)
{
    std::wstring lines;
    for (const std::wstring& profile : user.profiles)
        lines += L"  " + profile + (IsDefaultProfile(profile, user.defaultProfile) ? L"  (default)\n" : L"\n");
    return lines;
}

// The errors of the profiles that could not be read (completely).
std::wstring ScanErrorLines(const std::vector<ScanCommand::ProfileScan>& scans)
{
    std::wstring lines;
    for (const ScanCommand::ProfileScan& scan : scans)
    {
        if (!scan.message.empty())
            lines += ErrorLine(scan.message);
    }
    return lines;
}
} // namespace

TextRenderer::Printed TextRenderer::Render(const UserChoice::Report& report)
{
    return {std::wstring(), ErrorLine(report.error)};
}

TextRenderer::Printed TextRenderer::Render(const ListCommand::ProfilesReport& report)
{
    Printed printed;
    if (!report.error.empty())
        printed.err = ErrorLine(report.error);
    else if (report.user.profiles.empty())
        printed.out = L"No Outlook profiles were found in " + report.user.root + L".\n";
    else
        printed.out = L"Outlook profiles in " + report.user.root + L":\n" + ProfileLines(report.user);
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const ListCommand::UsersReport& report)
{
    Printed printed;
    if (report.users.empty())
        printed.out = L"No signed-in user's registry was found below HKEY_USERS.\n";
    for (const ListCommand::Profiles& user : report.users)
    {
        printed.out += UserLabel(user.sid, user.account) + L", " + user.root + L":\n";
        if (!user.error.empty())
            printed.out += L"  cannot be read: " + user.error + L"\n";
        else if (user.profiles.empty())
            printed.out += L"  no Outlook profiles\n";
        printed.out += ProfileLines(user);
    }
    if (!report.error.empty())
        printed.err = ErrorLine(report.error);
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const ListCommand::SectionsReport& report)
{
    Printed printed;
    if (!report.error.empty())
    {
        printed.err = ErrorLine(report.error);
    }
    else if (report.sections.empty())
    {
        printed.out =
            L"The profile " + Quote(report.profile) + L" has no section with a display name or a provider library.\n";
    }
    else
    {
        const std::wstring idTitle = L"SECTION";
        const std::wstring tieTitle = L"TIE";
        const std::wstring ghostTitle = L"GHOST";
        const std::wstring providerTitle = L"PROVIDER";
        size_t idWidth = Width(idTitle);
        size_t providerWidth = Width(providerTitle);
        for (const ListCommand::Section& section : report.sections)
        {
            idWidth = std::max(idWidth, Width(section.id));
            providerWidth = std::max(providerWidth, Width(section.provider));
        }
        printed.out = L"Sections of the profile " + Quote(report.profile) +
                      L" with a display name or a provider library\n(" + report.profileKey + L"):\n\n";
        printed.out += Pad(idTitle, idWidth) + L"  " + Pad(tieTitle, 6) + L"  " + ghostTitle + L"  " +
                       Pad(providerTitle, providerWidth) + L"  DISPLAY NAME\n";
        for (const ListCommand::Section& section : report.sections)
        {
            std::wstring line = Pad(section.id, idWidth) + L"  " + Pad(section.tied ? L"tied" : L"untied", 6) + L"  " +
                                Pad(section.ghost ? L"yes" : L"no", Width(ghostTitle)) + L"  " +
                                Pad(section.provider, providerWidth) + L"  ";
            // No blanks at the end of a line without a display name; a
            // display name keeps its own, which the check compares.
            if (section.displayName.empty())
                line.erase(line.find_last_not_of(L' ') + 1);
            printed.out += line + section.displayName + L"\n";
        }
    }
    for (const std::wstring& account : report.unreadableAccounts)
        printed.err += WarningLine(L"the account key " + Quote(account) +
                                   L" cannot be read; sections tied only through it show as untied.");
    for (const std::wstring& section : report.unreadableSections)
        printed.err += WarningLine(L"the section " + Quote(section) + L" cannot be opened.");
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const CheckCommand::Report& report)
{
    Printed printed;
    if (!report.error.empty())
        printed.err = ErrorLine(report.error);
    else if (report.invalidSections.empty())
        printed.out = L"No invalid sections were found for the PST " + Quote(report.pst) + L" in the profile " +
                      Quote(report.profile) + L".\n";
    else
        printed.out = L"Invalid sections that should be removed were found for the PST " + Quote(report.pst) +
                      L" in the profile " + Quote(report.profile) + L":\n" + ListLines(report.invalidSections) +
                      L"To remove them, run the repair command with the same profile and PST name.\n";
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const RepairCommand::Report& report)
{
    Printed printed;
    const std::vector<std::wstring>& removed = report.removedSections;
    const std::vector<std::wstring>& failed = report.failedSections;
    if (!report.backupFile.empty())
        printed.out += L"The profile key was backed up to " + Quote(report.backupFile) + L".\n";
    if (report.exitCode == ExitCode::Clean)
        printed.out += L"No invalid sections were found for the PST " + Quote(report.pst) + L" in the profile " +
                       Quote(report.profile) + L"; nothing was removed.\n";
    if (!removed.empty())
        printed.out += L"Removed the invalid sections of the PST " + Quote(report.pst) + L" from the profile " +
                       Quote(report.profile) + L":\n" + ListLines(removed);
    if (!failed.empty())
        printed.out += L"Failed to remove these invalid sections (see the log file " + Quote(LogFilePath()) + L"):\n" +
                       ListLines(failed);
    if (!report.backupFile.empty() && !removed.empty())
        printed.out += L"To undo the removal, close Outlook and run: straysweep restore --backup " +
                       Quote(report.backupFile) + L"\n";
    printed.err = BackupFailureAndErrorLines(report.exitCode, report.backupError, report.error);
    if (printed.err.empty() && !failed.empty())
        printed.err =
            ErrorLine(L"some invalid sections could not be removed; see the log file " + Quote(LogFilePath()) + L".");
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const ScanCommand::Report& report)
{
    Printed printed;
    std::wstring repairs;
    if (!report.allUsers)
    {
        const ScanCommand::UserScan& user = report.users[0];
        if (user.error.empty())
        {
            printed.out = user.scans.empty() ? L"No Outlook profiles were found in " + user.root + L".\n"
                                             : L"Ghost PST stores in the Outlook profiles of " + user.root + L":\n";
            printed.out += ScannedProfilesText(user.scans, {}, repairs);
        }
        else
        {
            printed.err = ErrorLine(user.error);
        }
        printed.err += ScanErrorLines(user.scans);
    }
    else
    {
        printed.out = report.users.empty() ? std::wstring(L"No signed-in user's registry was found below HKEY_USERS.\n")
                                           : std::wstring(L"Ghost PST stores of the signed-in users:\n");
        for (const ScanCommand::UserScan& user : report.users)
        {
            printed.out += L"\n" + UserLabel(user.sid, user.account) + L", " + user.root + L":\n";
            if (!user.error.empty())
                printed.out += L"  cannot be read\n";
            else if (user.scans.empty())
                printed.out += L"  no Outlook profiles\n";
            printed.out += ScannedProfilesText(user.scans, user.sid, repairs);
        }
        if (!report.error.empty())
            printed.err = ErrorLine(report.error);
        for (const ScanCommand::UserScan& user : report.users)
        {
            if (!user.error.empty())
                printed.err += ErrorLine(L"the profiles of " + user.sid + L" cannot be read: " + user.error);
            printed.err += ScanErrorLines(user.scans);
        }
    }
    if (!repairs.empty())
        printed.out += L"\nTo remove them, close Outlook and run:\n" + repairs;
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const BackupsCommand::Report& report)
{
    Printed printed;
    if (!report.error.empty())
    {
        printed.err = ErrorLine(report.error);
        return printed;
    }
    std::wstring of = report.profile.empty() ? std::wstring() : L" of the profile " + Quote(report.profile);
    if (report.backups.empty())
    {
        printed.out = L"No registry backups" + of + L" were found in " + Quote(report.folder) + L".\n";
        return printed;
    }
    const std::wstring takenTitle = L"TAKEN";
    const std::wstring bytesTitle = L"BYTES";
    const std::wstring profileTitle = L"PROFILE";
    size_t bytesWidth = Width(bytesTitle);
    size_t profileWidth = Width(profileTitle);
    for (const BackupsCommand::Backup& backup : report.backups)
    {
        bytesWidth = std::max(bytesWidth, std::to_string(backup.bytes).size());
        profileWidth = std::max(profileWidth, backup.profile.size());
    }
    printed.out = L"Registry backups" + of + L" in " + Quote(report.folder) + L", newest first:\n\n" +
                  Pad(takenTitle, 19) + L"  COMPLETE  " + Pad(bytesTitle, bytesWidth) + L"  " +
                  Pad(profileTitle, profileWidth) + L"  FILE\n";
    for (const BackupsCommand::Backup& backup : report.backups)
        printed.out += Pad(backup.taken, 19) + L"  " + Pad(backup.complete ? L"yes" : L"no", 8) + L"  " +
                       Pad(std::to_wstring(backup.bytes), bytesWidth) + L"  " + Pad(backup.profile, profileWidth) +
                       L"  " + backup.file.substr(backup.file.find_last_of(L'\\') + 1) + L"\n";
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const RestoreCommand::Report& report)
{
    Printed printed;
    if (report.imported)
    {
        if (!report.backupFile.empty())
            printed.out += L"The profile key was backed up to " + Quote(report.backupFile) + L" before the restore.\n";
        if (!report.profileExisted)
            printed.out += L"The profile key did not exist, so there was nothing to back up.\n";
        if (report.restored)
            printed.out += L"Restored the profile " + Quote(report.profile) + L" from " + Quote(report.file) + L".\n";
        if (!report.missing.empty())
            printed.out += L"Missing, or with other data, after the import:\n" + ListLines(report.missing);
        if (!report.added.empty())
            printed.out += L"Added to the profile after the backup was taken, and kept:\n" + ListLines(report.added);
    }
    printed.err = BackupFailureAndErrorLines(report.exitCode, report.backupError, report.error);
    return printed;
}
