#pragma once

// The exit codes of the command line program, for scripts to act on.
namespace ExitCode
{
// Nothing invalid found (check) or removed (repair); list and backups
// succeeded; restore brought back everything of the backup.
const int Clean = 0;
// Invalid sections found (check), all of them removed (repair), or a ghost
// store found in some profile (scan).
const int InvalidSections = 1;
// At least one invalid section could not be removed.
const int RemovalFailed = 2;
// OUTLOOK.EXE runs: nothing was done.
const int OutlookRunning = 3;
// The profile key could not be backed up: nothing was removed (restore:
// imported).
const int BackupFailed = 4;
// The profile, its accounts key or the profiles root does not open (scan:
// and no ghost store was found elsewhere); backups and restore: the backup
// folder cannot be read.
const int ProfileNotOpened = 5;
// The profile could not be read completely (an account, a section or a
// listing failed; the log says which): the result cannot be trusted. A
// repair then removed nothing when an account was unread, else what it
// judged invalid.
const int ProfileReadIncompletely = 6;
// restore: the file is not a backup of one profile that can be restored, or
// no complete backup of the profile was found: nothing was changed.
const int NotARestorableBackup = 7;
// restore: a key or value could not be written, or something of the backup
// is missing afterwards (the log names each missing key and value).
const int RestoreIncomplete = 8;
// The process list cannot be taken, or another unexpected failure.
const int OtherFailure = 70;
// The command line is wrong: nothing was done.
const int BadArguments = 64;
} // namespace ExitCode
