#include "program/console/TextRenderer.h"

#include "library/framework/TextConversion.h"
#include "library/fs/NvFsPathT.h"
#include "program/console/ConsoleText.h"
#include "program/console/ExitCode.h"

#include <algorithm>
#include <string>

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
        printed.out += "Failed to remove these invalid sections (see the log file " + Quote(LogFilePath()) +
                       "):\n" + ListLines(failed);
    if (!report.backupFile.IsEmpty() && !removed.empty())
        printed.out += "To undo the removal, close Outlook and run: straysweep restore --backup " +
                       Quote(report.backupFile) + "\n";
    printed.err = BackupFailureAndErrorLines(report.exitCode, report.backupError, report.error);
    if (printed.err.IsEmpty() && !failed.empty())
        printed.err = ErrorLine("some invalid sections could not be removed; see the log file " +
                                Quote(LogFilePath()) + ".");
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
