#include "program/console/commands/CheckCommand.h"

#include "library/base/TextConversion.h"
#include "program/console/ConsoleText.h"
#include "program/console/ExitCode.h"
#include "program/console/commands/ArgumentsFrontEnd.h"
#include "program/core/GhostPstSweep.h"

CheckCommand::Report CheckCommand::Run(const ConsoleArguments& arguments)
{
    Report report;
    report.profile = arguments.profile;
    report.pst = arguments.pst;
    ArgumentsFrontEnd frontEnd(arguments);
    GhostPstSweep::Outcome outcome = GhostPstSweep(frontEnd).Check();
    CoreOutcome::What what = outcome.Result().what;
    report.exitCode = ExitCode::Of(what);
    if (outcome.failure)
        report.error = outcome.failure->GetWideText();
    else if (what == CoreOutcome::What::ProfileReadIncompletely)
        report.error = IncompleteReadingText();
    report.invalidSections = outcome.invalidSections;
    return report;
}
