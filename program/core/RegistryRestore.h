#pragma once

#include "library/fs/NvFsPathT.h"
#include "program/core/CoreOutcome.h"
#include "program/core/RegistryEditor.h"

class RegistryScript;

#include <windows.h>

#include <string>
#include <vector>

// Puts a mail profile back from a backup file: refuses while Outlook runs,
// checks the file before anything is changed, backs the profile key up as it
// is now (as a repair does), writes the keys and values of the checked file
// below the profile key and proves the result by reading the key back. Every
// step is logged.
class RegistryRestore
{
public:
    // How far the restore got.
    enum class Stage
    {
        // Outlook runs: nothing else was looked at.
        OutlookRunning,
        // The backup folder cannot be read (the newest backup only):
        // `problem` says why.
        FolderUnreadable,
        // The backup folder (`folder`) holds no complete backup of the
        // profile.
        NoBackup,
        // The file cannot be restored: `problem` says why, naming the first
        // offending line where there is one. Nothing was changed.
        Refused,
        // The profile key could not be backed up (`backupError`): nothing
        // was imported.
        BackupFailed,
        // A key or value could not be written (`problem`), or the profile
        // key could not be opened or read back after the import; `missing`
        // and `added` are known when it could be read.
        ImportFailed,
        // Keys or values of the backup are missing afterwards (`missing`).
        Incomplete,
        // Every key and value of the backup is back.
        Restored,
    };

    struct Outcome
    {
        Stage stage = Stage::Refused;
        // What the restore came to, as both front ends tell it.
        CoreOutcome Result() const;
        // The backup folder that the newest backup was looked for in; empty
        // for a file named, and when the folder cannot be had.
        NvFsPath folder;
        // The file restored from, a full path; empty when none was found.
        NvFsPath file;
        // The profile that the file holds (or, before the file is known,
        // the one asked for).
        std::wstring profile;
        // The backup of the profile key taken before the import; empty when
        // none was taken.
        NvFsPath backupFile;
        // Why that backup failed, as the user sees it; empty when it did not.
        std::wstring backupError;
        // Whether the profile key existed before the import: a profile that
        // does not exist needs no backup.
        bool profileExisted = true;
        // What refused or failed, in English, as the log gives it after its
        // own words; the front ends quote it.
        std::wstring problem;
        // Keys and values of the backup absent afterwards, or there with
        // other data; and those of the profile that the backup lacks, which
        // an import leaves as they are. As a registry script writes them:
        // "[key]" or "[key] \"value\"".
        std::vector<std::wstring> missing;
        std::vector<std::wstring> added;
    };

    explicit RegistryRestore(const RegistryEditor& editor);

    // Restores the profile held by `file`; `profile`, unless empty, must be
    // that profile. Without `withoutBackup` nothing is imported when the
    // profile key exists and cannot be backed up. Lets out what the Outlook
    // check throws; every other failure is in the outcome.
    Outcome RestoreFile(const NvFsPath& file, const std::wstring& profile, bool withoutBackup);

    // Restores the newest complete backup of `profile` of the chosen user in
    // the backup folder, as RestoreFile does.
    Outcome RestoreLatest(const std::wstring& profile, bool withoutBackup);

private:
    // Whether Outlook runs; when it does, the log says so.
    static bool RefuseForOutlook(Outcome& outcome);
    // The steps from the file check on, into `outcome`.
    void Restore(Outcome& outcome, const std::wstring& profile, bool withoutBackup) const;
    // Writes `backup` below `profileKey`, the key `profilePath`, reads the
    // key back and compares, into `outcome`.
    static void ImportAndProve(HKEY profileKey, const std::wstring& profilePath, const RegistryScript& backup,
                               Outcome& outcome);

    RegistryEditor m_editor;
};
