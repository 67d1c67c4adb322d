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
    report.exitCode = outcome.failure ? ExitCode::ProfileNotOpened : outcome.result;
    if (outcome.failure)
        report.error = outcome.failure->GetWideText();
    else if (!outcome.readCompletely)
    {
        report.exitCode = ExitCode::ProfileReadIncompletely;
        report.error = IncompleteReadingText();
    }
    report.invalidSections = outcome.invalidSections;
    return report;
}
