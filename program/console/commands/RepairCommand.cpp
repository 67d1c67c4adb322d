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
        report.exitCode = ExitCode::Of(CoreOutcome::What::OtherFailure);
        report.error = L"The list of running processes cannot be read, so it is not known whether Outlook runs: " +
                       e.GetWideText();
        return report;
    }
    CoreOutcome::What what = outcome.Result().what;
    switch (outcome.stage)
    {
    case GhostPstSweep::Stage::OutlookRunning:
        report.error = OutlookRunningText(L"repair");
        break;
    case GhostPstSweep::Stage::BackupDeclined:
        report.error = L"The profile key cannot be backed up, so nothing was removed. To remove the invalid "
                       L"sections without a backup, add --without-backup.";
        break;
    case GhostPstSweep::Stage::Stopped:
        report.error = outcome.failure->GetWideText();
        break;
    case GhostPstSweep::Stage::AccountsUnread:
        report.error = L"Some accounts of the profile cannot be read, so nothing was removed: a section tied only to "
                       L"an unread account would look invalid. See the log file " +
                       Quote(LogFilePath()) + L".";
        break;
    case GhostPstSweep::Stage::Finished:
        if (what == CoreOutcome::What::ProfileReadIncompletely)
            report.error = IncompleteReadingText();
        break;
    case GhostPstSweep::Stage::InputRefused:
        break;
    }
    report.exitCode = ExitCode::Of(what);
    report.backupFile = AnsiToWide(outcome.backupFile);
    report.backupError = outcome.backupError;
    report.removedSections = outcome.invalidSections;
    report.failedSections = outcome.failedSections;
    return report;
}
