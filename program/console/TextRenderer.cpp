#include "program/console/TextRenderer.h"

#include "library/framework/TextConversion.h"
#include "library/fs/NvFsPathT.h"
#include "program/console/ConsoleText.h"

#include <algorithm>
#include <string>

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
