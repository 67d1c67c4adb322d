#pragma once

#include "program/console/ArgumentParser.h"
#include "program/console/ConsoleStream.h"
#include "program/core/SweepFrontEnd.h"

#include <vector>

class JsonWriter;

// The commands of the command line program over the program's core: the
// check and the repair are the window program's, with its log lines. Results
// go to standard output as text or as one JSON document; errors and warnings
// go to standard error as text.
class ConsoleCommands : private SweepFrontEnd
{
public:
    ConsoleCommands(ConsoleStream& out, ConsoleStream& err);

    // Runs the command of `arguments`; the program's exit code (ExitCode).
    int Run(const ConsoleArguments& arguments);

private:
    // The profile and PST name of the command line.
    bool ReadInput(CString& profileName, CString& pstName) override;
    // Said by the exit code and the error message.
    void OutlookRunning() override;
    // What --without-backup says.
    bool ContinueWithoutBackup(const CString& error) override;

    // --user names a user whose registry cannot be opened: exit 5.
    int RefuseUser(LONG result);
    int ListAllUsers();
    int ListProfiles();
    int ListSections();
    int Check();
    int Repair();
    int Scan();
    int ScanAllUsers();
    int Backups();
    int Restore();

    // Begins the JSON document of the command: its name, the exit code, the
    // error (null when empty) and the profile and PST names given.
    void BeginDocument(JsonWriter& json, const char* command, int exitCode, const CString& error) const;
    // Ends the document and writes it.
    void WriteDocument(JsonWriter& json) const;
    void WriteError(const CString& message) const;
    void WriteWarning(const CString& message) const;
    // The warning when the work went on without the backup that failed with
    // `backupError`, then the error of a repair or restore ending with
    // `exitCode`: the backup's failure and `error` for exit 4, else `error`
    // unless it is empty. True when an error line was written.
    bool WriteBackupFailureAndError(int exitCode, const CString& backupError, const CString& error) const;

    ConsoleStream& m_out;
    ConsoleStream& m_err;
    ConsoleArguments m_arguments;
};
