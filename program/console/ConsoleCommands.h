#pragma once

#include "program/console/ArgumentParser.h"
#include "program/console/ConsoleStream.h"

// The commands of the command line program: each one (in commands/) asks the
// program's core and gives a report, which goes to standard output as text
// or as one JSON document; errors and warnings go to standard error as text.
class ConsoleCommands
{
public:
    ConsoleCommands(ConsoleStream& out, ConsoleStream& err);

    // Runs the command of `arguments`; the program's exit code (ExitCode).
    int Run(const ConsoleArguments& arguments);

private:
    // Writes what `report` says; the report's exit code.
    template <typename Report> int Print(const Report& report);

    ConsoleStream& m_out;
    ConsoleStream& m_err;
    bool m_json = false;
};
