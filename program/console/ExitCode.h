#pragma once

// The exit codes of the command line program, for scripts to act on.
namespace ExitCode
{
// What each means is in Meanings below.
const int Clean = 0;
const int InvalidSections = 1;
const int RemovalFailed = 2;
const int OutlookRunning = 3;
const int BackupFailed = 4;
const int ProfileNotOpened = 5;
const int ProfileReadIncompletely = 6;
const int NotARestorableBackup = 7;
const int RestoreIncomplete = 8;
const int BadArguments = 64;
const int OtherFailure = 70;

struct Meaning
{
    int code;
    const char* text;
};

// Every exit code with what it means, in the order of the codes: the help
// lists these, and the READMEs' tables say the same words.
inline constexpr Meaning Meanings[] = {
    {Clean, "nothing invalid found (check) or removed (repair); list or backups succeeded; everything of the "
            "backup is back (restore)"},
    {InvalidSections, "invalid sections found (check), all of them removed (repair), or a ghost store found (scan)"},
    {RemovalFailed, "an invalid section could not be removed (the log says why)"},
    {OutlookRunning, "Outlook is running: nothing was done"},
    {BackupFailed, "the backup failed: nothing was removed (restore: nothing was written)"},
    {ProfileNotOpened, "the profile, its accounts key or the profiles key cannot be opened (scan: and no ghost "
                       "store was found); backups, restore: the backup folder cannot be read"},
    {ProfileReadIncompletely,
     "the profile could not be read completely (an account, a section or a listing failed; the log says which), "
     "so the result cannot be trusted: check lists what it found, repair removed nothing when an account could "
     "not be read, else what it judged invalid"},
    {NotARestorableBackup, "restore: the file is not a backup of one profile that can be restored (the message and "
                           "the log name the first offending line), or the profile has no complete backup: nothing "
                           "was changed"},
    {RestoreIncomplete, "restore: a key or value could not be written, or something of the backup is missing "
                        "afterwards (the log names each missing key and value)"},
    {BadArguments, "wrong arguments: nothing was done"},
    {OtherFailure, "another failure, such as a process list that cannot be read"},
};
} // namespace ExitCode
