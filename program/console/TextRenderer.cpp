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
CString ScannedProfilesText(const std::vector<ScanCommand::ProfileScan>& scans, const CString& sid, CString& repairs)
{
    using Reading = ScanCommand::ProfileScan::Reading;
    CString text;
    for (const ScanCommand::ProfileScan& scan : scans)
    {
        text += "\n" + Quote(scan.name) + (scan.isDefault ? " (default)" : "");
        if (scan.reading == Reading::Failed)
            text += ": cannot be read\n";
        else if (scan.reading == Reading::Withheld)
            text += ": cannot be read completely\n";
        else if (!scan.candidates.empty())
            text += ":\n";
        else if (scan.reading == Reading::SectionsMissing)
            text += ": none found, but not every section could be read\n";
        else
            text += ": none\n";
        for (const GhostFinder::Candidate& candidate : scan.candidates)
        {
            CString file = candidate.pstPath.IsEmpty() ? CString("(no PST file named)")
                           : !candidate.pstFileExists  ? candidate.pstPath + " (no answer in time)"
                           : *candidate.pstFileExists  ? candidate.pstPath
                                                       : candidate.pstPath + " (missing)";
            text += "  " + candidate.section + "  " + Quote(candidate.displayName) + "  " + file + "\n";
        }
        for (const CString& name : ScanCommand::DistinctNames(scan.candidates))
        {
            std::vector<std::pair<CString, CString>> options;
            if (!sid.IsEmpty())
                options.emplace_back("--user", sid);
            options.emplace_back("--profile", scan.name);
            options.emplace_back("--pst", name);
            CString command = CmdCommandLine("straysweep repair", options);
            repairs += command.IsEmpty() ? "  The PST " + Quote(name) + " of the profile " + Quote(scan.name) +
                                               ": no command line can carry these names safely; repair it "
                                               "with the names that \"straysweep scan --json\" gives.\n"
                                         : "  " + command + "\n";
        }
    }
    return text;
}

// One indented line a profile, the default one marked.
CString ProfileLines(const ListCommand::Profiles& user)
{
    CString lines;
    for (const CString& profile : user.profiles)
        lines += "  " + profile + (IsDefaultProfile(profile, user.defaultProfile) ? "  (default)\n" : "\n");
    return lines;
}

// The errors of the profiles that could not be read (completely).
CString ScanErrorLines(const std::vector<ScanCommand::ProfileScan>& scans)
{
    CString lines;
    for (const ScanCommand::ProfileScan& scan : scans)
    {
        if (!scan.message.IsEmpty())
            lines += ErrorLine(scan.message);
    }
    return lines;
}
} // namespace

TextRenderer::Printed TextRenderer::Render(const UserChoice::Report& report)
{
    return {CString(), ErrorLine(report.error)};
}

TextRenderer::Printed TextRenderer::Render(const ListCommand::ProfilesReport& report)
{
    Printed printed;
    if (!report.error.IsEmpty())
        printed.err = ErrorLine(report.error);
    else if (report.user.profiles.empty())
        printed.out = "No Outlook profiles were found in " + report.user.root + ".\n";
    else
        printed.out = "Outlook profiles in " + report.user.root + ":\n" + ProfileLines(report.user);
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const ListCommand::UsersReport& report)
{
    Printed printed;
    if (report.users.empty())
        printed.out = "No signed-in user's registry was found below HKEY_USERS.\n";
    for (const ListCommand::Profiles& user : report.users)
    {
        printed.out += UserLabel(user.sid, user.account) + ", " + user.root + ":\n";
        if (!user.error.IsEmpty())
            printed.out += "  cannot be read: " + user.error + "\n";
        else if (user.profiles.empty())
            printed.out += "  no Outlook profiles\n";
        printed.out += ProfileLines(user);
    }
    if (!report.error.IsEmpty())
        printed.err = ErrorLine(report.error);
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const ListCommand::SectionsReport& report)
{
    Printed printed;
    if (!report.error.IsEmpty())
    {
        printed.err = ErrorLine(report.error);
    }
    else if (report.sections.empty())
    {
        printed.out =
            "The profile " + Quote(report.profile) + " has no section with a display name or a provider library.\n";
    }
    else
    {
        const CString idTitle = "SECTION";
        const CString tieTitle = "TIE";
        const CString ghostTitle = "GHOST";
        const CString providerTitle = "PROVIDER";
        size_t idWidth = Width(idTitle);
        size_t providerWidth = Width(providerTitle);
        for (const ListCommand::Section& section : report.sections)
        {
            idWidth = std::max(idWidth, Width(section.id));
            providerWidth = std::max(providerWidth, Width(section.provider));
        }
        printed.out = "Sections of the profile " + Quote(report.profile) +
                      " with a display name or a provider library\n(" + report.profileKey + "):\n\n";
        printed.out += Pad(idTitle, idWidth) + "  " + Pad(tieTitle, 6) + "  " + ghostTitle + "  " +
                       Pad(providerTitle, providerWidth) + "  DISPLAY NAME\n";
        for (const ListCommand::Section& section : report.sections)
        {
            CString line = Pad(section.id, idWidth) + "  " + Pad(section.tied ? "tied" : "untied", 6) + "  " +
                           Pad(section.ghost ? "yes" : "no", Width(ghostTitle)) + "  " +
                           Pad(section.provider, providerWidth) + "  ";
            // No blanks at the end of a line without a display name; a
            // display name keeps its own, which the check compares.
            printed.out += (section.displayName.IsEmpty() ? line.TrimRight() : line + section.displayName) + "\n";
        }
    }
    for (const CString& account : report.unreadableAccounts)
        printed.err += WarningLine("the account key " + Quote(account) +
                                   " cannot be read; sections tied only through it show as untied.");
    for (const CString& section : report.unreadableSections)
        printed.err += WarningLine("the section " + Quote(section) + " cannot be opened.");
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const CheckCommand::Report& report)
{
    Printed printed;
    if (!report.error.IsEmpty())
        printed.err = ErrorLine(report.error);
    else if (report.invalidSections.empty())
        printed.out = "No invalid sections were found for the PST " + Quote(report.pst) + " in the profile " +
                      Quote(report.profile) + ".\n";
    else
        printed.out = "Invalid sections that should be removed were found for the PST " + Quote(report.pst) +
                      " in the profile " + Quote(report.profile) + ":\n" + ListLines(report.invalidSections) +
                      "To remove them, run the repair command with the same profile and PST name.\n";
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const RepairCommand::Report& report)
{
    Printed printed;
    const std::vector<CString>& removed = report.removedSections;
    const std::vector<CString>& failed = report.failedSections;
    if (!report.backupFile.IsEmpty())
        printed.out += "The profile key was backed up to " + Quote(report.backupFile) + ".\n";
    if (report.exitCode == ExitCode::Clean)
        printed.out += "No invalid sections were found for the PST " + Quote(report.pst) + " in the profile " +
                       Quote(report.profile) + "; nothing was removed.\n";
    if (!removed.empty())
        printed.out += "Removed the invalid sections of the PST " + Quote(report.pst) + " from the profile " +
                       Quote(report.profile) + ":\n" + ListLines(removed);
    if (!failed.empty())
        printed.out += "Failed to remove these invalid sections (see the log file " + Quote(LogFilePath()) + "):\n" +
                       ListLines(failed);
    if (!report.backupFile.IsEmpty() && !removed.empty())
        printed.out += "To undo the removal, close Outlook and run: straysweep restore --backup " +
                       Quote(report.backupFile) + "\n";
    printed.err = BackupFailureAndErrorLines(report.exitCode, report.backupError, report.error);
    if (printed.err.IsEmpty() && !failed.empty())
        printed.err =
            ErrorLine("some invalid sections could not be removed; see the log file " + Quote(LogFilePath()) + ".");
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const ScanCommand::Report& report)
{
    Printed printed;
    CString repairs;
    if (!report.allUsers)
    {
        const ScanCommand::UserScan& user = report.users[0];
        if (user.error.IsEmpty())
        {
            printed.out = user.scans.empty() ? "No Outlook profiles were found in " + user.root + ".\n"
                                             : "Ghost PST stores in the Outlook profiles of " + user.root + ":\n";
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
        printed.out = report.users.empty() ? CString("No signed-in user's registry was found below HKEY_USERS.\n")
                                           : CString("Ghost PST stores of the signed-in users:\n");
        for (const ScanCommand::UserScan& user : report.users)
        {
            printed.out += "\n" + UserLabel(user.sid, user.account) + ", " + user.root + ":\n";
            if (!user.error.IsEmpty())
                printed.out += "  cannot be read\n";
            else if (user.scans.empty())
                printed.out += "  no Outlook profiles\n";
            printed.out += ScannedProfilesText(user.scans, user.sid, repairs);
        }
        if (!report.error.IsEmpty())
            printed.err = ErrorLine(report.error);
        for (const ScanCommand::UserScan& user : report.users)
        {
            if (!user.error.IsEmpty())
                printed.err += ErrorLine("the profiles of " + user.sid + " cannot be read: " + user.error);
            printed.err += ScanErrorLines(user.scans);
        }
    }
    if (!repairs.IsEmpty())
        printed.out += "\nTo remove them, close Outlook and run:\n" + repairs;
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const BackupsCommand::Report& report)
{
    Printed printed;
    if (!report.error.IsEmpty())
    {
        printed.err = ErrorLine(report.error);
        return printed;
    }
    CString of = report.profile.IsEmpty() ? CString() : " of the profile " + Quote(report.profile);
    if (report.backups.empty())
    {
        printed.out = "No registry backups" + of + " were found in " + Quote(report.folder) + ".\n";
        return printed;
    }
    const CString takenTitle = "TAKEN";
    const CString bytesTitle = "BYTES";
    const CString profileTitle = "PROFILE";
    size_t bytesWidth = Width(bytesTitle);
    size_t profileWidth = Width(profileTitle);
    for (const BackupsCommand::Backup& backup : report.backups)
    {
        bytesWidth = std::max(bytesWidth, std::to_string(backup.bytes).size());
        profileWidth = std::max(profileWidth, backup.profile.size());
    }
    printed.out = "Registry backups" + of + " in " + Quote(report.folder) + ", newest first:\n\n" +
                  Pad(takenTitle, 19) + "  COMPLETE  " + Pad(bytesTitle, bytesWidth) + "  " +
                  Pad(profileTitle, profileWidth) + "  FILE\n";
    for (const BackupsCommand::Backup& backup : report.backups)
        printed.out += Pad(backup.taken, 19) + "  " + Pad(backup.complete ? "yes" : "no", 8) + "  " +
                       Pad(std::to_string(backup.bytes).c_str(), bytesWidth) + "  " +
                       Pad(WideToAnsi(backup.profile), profileWidth) + "  " + NvFsPath(backup.file).GetFileName() +
                       "\n";
    return printed;
}

TextRenderer::Printed TextRenderer::Render(const RestoreCommand::Report& report)
{
    Printed printed;
    if (report.imported)
    {
        if (!report.backupFile.IsEmpty())
            printed.out += "The profile key was backed up to " + Quote(report.backupFile) + " before the restore.\n";
        if (!report.profileExisted)
            printed.out += "The profile key did not exist, so there was nothing to back up.\n";
        if (report.restored)
            printed.out +=
                "Restored the profile " + Quote(WideToAnsi(report.profile)) + " from " + Quote(report.file) + ".\n";
        if (!report.missing.empty())
            printed.out += "Missing, or with other data, after the import:\n" + WideListLines(report.missing);
        if (!report.added.empty())
            printed.out += "Added to the profile after the backup was taken, and kept:\n" + WideListLines(report.added);
    }
    printed.err = BackupFailureAndErrorLines(report.exitCode, report.backupError, report.error);
    return printed;
}
