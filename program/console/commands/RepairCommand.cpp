#include "program/console/commands/RepairCommand.h"

#include "library/base/TextConversion.h"
#include "library/error/NvException.h"
#include "program/console/ConsoleText.h"
#include "program/console/ExitCode.h"
#include "program/console/commands/ArgumentsFrontEnd.h"
#include "program/core/GhostPstSweep.h"

RepairCommand::Report RepairCommand::Run(const ConsoleArguments& arguments)
{
    Report report;
    report.profile = arguments.profile;
    report.pst = arguments.pst;
    ArgumentsFrontEnd frontEnd(arguments);
    GhostPstSweep::Outcome outcome;
    try
    {
        // A profile that does not open has nothing to back up: the registry
        // editor would fail on it and hide the real reason.
        outcome = GhostPstSweep(frontEnd).Repair(GhostPstSweep::Strictness::FailClosed);
    }
    catch (const Error::NvException& e)
    {
        report.exitCode = ExitCode::OtherFailure;
        report.error = L"The list of running processes cannot be read, so it is not known whether Outlook runs: " +
                       e.GetWideText();
    }
    switch (outcome.stage)
    {
    case GhostPstSweep::Stage::OutlookRunning:
        report.exitCode = ExitCode::OutlookRunning;
        report.error = OutlookRunningText(L"repair");
        break;
    case GhostPstSweep::Stage::BackupDeclined:
        report.exitCode = ExitCode::BackupFailed;
        report.error = L"The profile key cannot be backed up, so nothing was removed. To remove the invalid "
                       L"sections without a backup, add --without-backup.";
        break;
    case GhostPstSweep::Stage::Stopped:
        report.exitCode = ExitCode::ProfileNotOpened;
        report.error = outcome.failure->GetWideText();
        break;
    case GhostPstSweep::Stage::AccountsUnread:
        report.exitCode = ExitCode::ProfileReadIncompletely;
        report.error = L"Some accounts of the profile cannot be read, so nothing was removed: a section tied only to "
                       L"an unread account would look invalid. See the log file " +
                       Quote(LogFilePath()) + L".";
        break;
    case GhostPstSweep::Stage::Finished:
        report.exitCode = outcome.result;
        if (outcome.result != ExitCode::RemovalFailed && !outcome.readCompletely)
        {
            report.exitCode = ExitCode::ProfileReadIncompletely;
            report.error = IncompleteReadingText();
        }
        break;
    case GhostPstSweep::Stage::InputRefused:
        break;
    }
    report.backupFile = AnsiToWide(outcome.backupFile);
    report.backupError = AnsiToWide(outcome.backupError);
    report.removedSections = outcome.invalidSections;
    report.failedSections = outcome.failedSections;
    return report;
}
