#pragma once

#include "program/core/CoreOutcome.h"

#include <optional>

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
    // The outcome of the core that it tells; none for the command line's own.
    std::optional<CoreOutcome::What> outcome;
    const char* text;
};

using What = CoreOutcome::What;

// Every exit code with the outcome it tells and what it means, in the order
// of the codes: the help lists these, and the READMEs' tables say the same
// words.
inline constexpr Meaning Meanings[] = {
    {Clean, What::Clean,
     "nothing invalid found (check) or removed (repair); list or backups succeeded; everything of the "
     "backup is back (restore)"},
    {InvalidSections, What::InvalidSections,
     "invalid sections found (check), all of them removed (repair), or a ghost store found (scan)"},
    {RemovalFailed, What::RemovalFailed, "an invalid section could not be removed (the log says why)"},
    {OutlookRunning, What::OutlookRunning, "Outlook is running: nothing was done"},
    {BackupFailed, What::BackupFailed, "the backup failed: nothing was removed (restore: nothing was written)"},
    {ProfileNotOpened, What::ProfileNotOpened,
     "the profile, its accounts key or the profiles key cannot be opened (scan: and no ghost "
     "store was found); backups, restore: the backup folder cannot be read"},
    {ProfileReadIncompletely, What::ProfileReadIncompletely,
     "the profile could not be read completely (an account, a section or a listing failed; the log says which), "
     "so the result cannot be trusted: check lists what it found, repair removed nothing when an account could "
     "not be read, else what it judged invalid"},
    {NotARestorableBackup, What::NotARestorableBackup,
     "restore: the file is not a backup of one profile that can be restored (the message and "
     "the log name the first offending line), or the profile has no complete backup: nothing "
     "was changed"},
    {RestoreIncomplete, What::RestoreIncomplete,
     "restore: a key or value could not be written, or something of the backup is missing "
     "afterwards (the log names each missing key and value)"},
    {BadArguments, std::nullopt, "wrong arguments: nothing was done"},
    {OtherFailure, What::OtherFailure, "another failure, such as a process list that cannot be read"},
};

// The exit code that tells `outcome`.
constexpr int Of(CoreOutcome::What outcome)
{
    for (const Meaning& meaning : Meanings)
    {
        if (meaning.outcome == outcome)
            return meaning.code;
    }
    return OtherFailure;
}
} // namespace ExitCode
