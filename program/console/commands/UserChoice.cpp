#include "program/console/commands/UserChoice.h"

#include "library/base/NameComparison.h"
#include "library/base/TextConversion.h"
#include "program/console/ConsoleText.h"
#include "program/console/ExitCode.h"
#include "program/core/RegistryFailure.h"
#include "program/core/TargetUser.h"

namespace
{
const char* CommandName(ConsoleCommand command)
{
    switch (command)
    {
    case ConsoleCommand::Help:
        return "help";
    case ConsoleCommand::List:
        return "list";
    case ConsoleCommand::Check:
        return "check";
    case ConsoleCommand::Repair:
        return "repair";
    case ConsoleCommand::Scan:
        return "scan";
    case ConsoleCommand::Backups:
        return "backups";
    case ConsoleCommand::Restore:
        return "restore";
    }
    return "";
}
} // namespace

LONG UserChoice::Choose(const ConsoleArguments& arguments)
{
    return arguments.userSid.IsEmpty() ? ERROR_SUCCESS : TargetUser::Choose(arguments.userSid);
}

UserChoice::Report UserChoice::Refusal(const ConsoleArguments& arguments, LONG result)
{
    Report report;
    report.command = CommandName(arguments.command);
    report.exitCode = ExitCode::ProfileNotOpened;
    report.profile = arguments.profile;
    report.pst = arguments.pst;
    std::wstring sid = AnsiToWide(arguments.userSid);
    std::wstring user = Quote(arguments.user);
    if (!SameName(arguments.user, sid))
        user += L" (" + sid + L")";
    report.error = result == ERROR_FILE_NOT_FOUND
                       ? L"the registry of the user " + user + L" is not loaded; the user must be signed in."
                       : L"the registry of the user " + user + L" cannot be opened: " +
                             AnsiToWide(RegistryFailureText(result, ""));
    return report;
}
