#pragma once

#include "program/console/ArgumentParser.h"
#include "program/console/ConsoleStream.h"

#include <vector>

class JsonWriter;

// The commands of the command line program over the program's core: the
// check and the repair are the window program's, with its log lines. Results
// go to standard output as text or as one JSON document; errors and warnings
// go to standard error as text.
class ConsoleCommands
{
public:
    ConsoleCommands(ConsoleStream& out, ConsoleStream& err);

    // Runs the command of `arguments`; the program's exit code (ExitCode).
    int Run(const ConsoleArguments& arguments);

private:
    // --user names a user whose registry cannot be opened: exit 5.
    int RefuseUser(LONG result);
    int ListAllUsers();
    int ListProfiles();
    int ListSections();
    int Check();
    int Repair();
    int Scan();
    int Backups();
    int Restore();

    // Ends the document and writes it.
    void WriteDocument(JsonWriter& json) const;
    void WriteError(const CString& message) const;
    void WriteWarning(const CString& message) const;

    ConsoleStream& m_out;
    ConsoleStream& m_err;
    ConsoleArguments m_arguments;
};
