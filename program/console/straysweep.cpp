// The command line program: list, check and repair without the window, with
// the window program's engine, backup, Outlook check and log.
#include "library/error/NvException.h"
#include "library/base/NvModuleWrapper.h"
#include "library/base/UniqueHandle.h"
#include "program/core/CLogFile.h"
#include "program/console/ArgumentParser.h"
#include "program/console/ConsoleCommands.h"
#include "program/console/ConsoleStream.h"
#include "program/console/ExitCode.h"
#include "program/console/HelpText.h"
#include "library/base/TextConversion.h"
#include "program/core/TargetUser.h"

#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

namespace
{
// The arguments as typed, in UTF-16: the narrow command line would already
// have replaced what the ANSI code page cannot hold.
std::vector<std::wstring> ReadArguments()
{
    int count = 0;
    LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
    UniqueLocalMemory owner(list);
    std::vector<std::wstring> arguments;
    for (int i = 1; list != nullptr && i < count; ++i)
        arguments.emplace_back(list[i]);
    return arguments;
}

int RefuseArguments(ConsoleStream& err, const std::wstring& error)
{
    err.WriteWide(L"straysweep: " + error + L"\n\n");
    err.WriteAnsi(CString(GetUsageText()) + "Run \"straysweep --help\" for details.\n");
    return ExitCode::BadArguments;
}

int RunCommandLine(ConsoleStream& out, ConsoleStream& err)
{
    ArgumentParser parser(ReadArguments());
    if (!parser.Parse())
        return RefuseArguments(err, parser.GetError());
    ConsoleArguments arguments = parser.GetArguments();
    if (!arguments.user.empty() && !TargetUser::ResolveUser(arguments.user, arguments.userSid))
        return RefuseArguments(err, L"the user \"" + arguments.user +
                                        L"\" is neither a known account nor a well-formed SID.");
    ConsoleCommands commands(out, err);
    return commands.Run(arguments);
}
} // namespace

int main()
{
    NvModuleWrapper::SearchSystemFolderOnly();
    ConsoleStream out(STD_OUTPUT_HANDLE);
    ConsoleStream err(STD_ERROR_HANDLE);
    CLogFile& log = CLogFile::Instance();
    log.OpenWithSizeLimit();
    log.Info(" ");
    log.Info("-------------------------------------------------");
    log.Info("Program started.");

    int exitCode = ExitCode::OtherFailure;
    try
    {
        exitCode = RunCommandLine(out, err);
    }
    catch (const Error::NvException& e)
    {
        err.WriteWide(L"straysweep: " + e.GetWideText() + L"\n");
    }
    catch (const std::exception& e)
    {
        err.WriteAnsi(CString("straysweep: unexpected failure: ") + e.what() + "\n");
    }

    log.Info("Program exit.");
    log.Close();
    return exitCode;
}
