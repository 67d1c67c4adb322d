#include "program/console/ConsoleCommands.h"

#include "program/console/ExitCode.h"
#include "program/console/HelpText.h"
#include "program/console/JsonRenderer.h"
#include "program/console/TextRenderer.h"
#include "program/console/commands/BackupsCommand.h"
#include "program/console/commands/CheckCommand.h"
#include "program/console/commands/ListCommand.h"
#include "program/console/commands/RepairCommand.h"
#include "program/console/commands/RestoreCommand.h"
#include "program/console/commands/ScanCommand.h"
#include "program/console/commands/UserChoice.h"

ConsoleCommands::ConsoleCommands(ConsoleStream& out, ConsoleStream& err) : m_out(out), m_err(err)
{
}

int ConsoleCommands::Run(const ConsoleArguments& arguments)
{
    m_json = arguments.json;
    LONG chosen = UserChoice::Choose(arguments);
    if (chosen != ERROR_SUCCESS)
        return Print(UserChoice::Refusal(arguments, chosen));
    switch (arguments.command)
    {
    case ConsoleCommand::Help:
        m_out.WriteAnsi(GetHelpText().c_str());
        return ExitCode::Clean;
    case ConsoleCommand::List:
        if (arguments.allUsers)
            return Print(ListCommand::ListUsers());
        return arguments.profile.empty() ? Print(ListCommand::ListProfiles(arguments))
                                         : Print(ListCommand::ListSections(arguments));
    case ConsoleCommand::Check:
        return Print(CheckCommand::Run(arguments));
    case ConsoleCommand::Repair:
        return Print(RepairCommand::Run(arguments));
    case ConsoleCommand::Scan:
        return Print(ScanCommand::Run(arguments));
    case ConsoleCommand::Backups:
        return Print(BackupsCommand::Run(arguments));
    case ConsoleCommand::Restore:
        return Print(RestoreCommand::Run(arguments));
    }
    return ExitCode::OtherFailure;
}

template <typename Report> int ConsoleCommands::Print(const Report& report)
{
    TextRenderer::Printed printed = TextRenderer::Render(report);
    if (m_json)
        m_out.WriteUtf8(JsonRenderer::Render(report) + "\n");
    else
        m_out.WriteWide(printed.out);
    m_err.WriteWide(printed.err);
    return report.exitCode;
}
