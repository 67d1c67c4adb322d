#include "program/console/commands/RestoreCommand.h"

#include "library/base/TextConversion.h"
#include "library/error/NvException.h"
#include "program/console/ConsoleText.h"
#include "program/console/ExitCode.h"
#include "program/core/RegistryRestore.h"

RestoreCommand::Report RestoreCommand::Run(const ConsoleArguments& arguments)
{
    Report report;
    RegistryRestore::Outcome outcome;
    try
    {
        RegistryRestore restore(RegistryEditor::OfSystem());
        outcome = arguments.latest ? restore.RestoreLatest(arguments.profile, arguments.withoutBackup)
                                   : restore.RestoreFile(arguments.backup, arguments.profile, arguments.withoutBackup);
    }
    catch (const Error::NvException& e)
    {
        report.exitCode = ExitCode::Of(CoreOutcome::What::OtherFailure);
        report.error = L"The restore cannot begin, so nothing was changed: " + e.GetWideText();
        return report;
    }
    std::wstring seeLog = L" See the log file " + Quote(LogFilePath()) + L".";
    switch (outcome.stage)
    {
    case RegistryRestore::Stage::OutlookRunning:
        report.error = OutlookRunningText(L"restore");
        break;
    case RegistryRestore::Stage::FolderUnreadable:
        report.error = outcome.problem;
        break;
    case RegistryRestore::Stage::NoBackup:
        report.error = L"There is no complete backup of the profile " + Quote(outcome.profile) + L" in " +
                       Quote(AnsiToWide(outcome.folder)) + L". Nothing was changed.";
        break;
    case RegistryRestore::Stage::Refused:
        report.error = L"The file " + Quote(AnsiToWide(outcome.file)) +
                       L" cannot be restored, so nothing was changed: " + outcome.problem;
        break;
    case RegistryRestore::Stage::BackupFailed:
        report.error = L"The profile key cannot be backed up, so nothing was imported. To restore without a backup of "
                       L"the present state, add --without-backup.";
        break;
    case RegistryRestore::Stage::ImportFailed:
        report.error = L"The backup may not have been restored: " + outcome.problem + seeLog;
        report.imported = true;
        break;
    case RegistryRestore::Stage::Incomplete:
        report.error = L"Not everything of the backup is back after the import." + seeLog;
        report.imported = true;
        break;
    case RegistryRestore::Stage::Restored:
        report.imported = true;
        report.restored = true;
        break;
    }
    report.exitCode = ExitCode::Of(outcome.Result().what);
    report.profile = outcome.profile;
    report.file = AnsiToWide(outcome.file);
    report.backupFile = AnsiToWide(outcome.backupFile);
    report.backupError = outcome.backupError;
    report.profileExisted = outcome.profileExisted;
    report.missing = outcome.missing;
    report.added = outcome.added;
    return report;
}
