#pragma once

#include <windows.h>

// What a check, a repair or a restore came to, the same for both front ends,
// which word it (and the command line turns it into its exit code): what
// happened, and the system's code of the call that failed where one did.
struct CoreOutcome
{
    enum class What
    {
        // Nothing invalid found (check) or removed (repair); everything of
        // the backup is back (restore).
        Clean,
        // Invalid sections found (check), or all of them removed (repair).
        InvalidSections,
        // An invalid section could not be removed.
        RemovalFailed,
        // Outlook runs: nothing was done.
        OutlookRunning,
        // The backup failed: nothing was removed or written.
        BackupFailed,
        // The profile or its accounts key did not open; for a restore, the
        // backup folder cannot be read.
        ProfileNotOpened,
        // An account, a section or a listing could not be read, so the
        // result cannot be trusted.
        ProfileReadIncompletely,
        // The file is no backup that can be restored, or there is none.
        NotARestorableBackup,
        // A key or value of the backup could not be written or is missing
        // afterwards.
        RestoreIncomplete,
        // Anything else, such as a process list that cannot be read.
        OtherFailure,
    };

    What what = What::Clean;
    // 0 where no system call failed.
    DWORD systemCode = 0;
};
