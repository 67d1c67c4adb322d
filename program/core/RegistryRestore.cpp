#include "program/core/RegistryRestore.h"

#include "library/base/NameComparison.h"
#include "library/error/ErrorMessages.h"
#include "library/error/NvException.h"
#include "library/base/RegistryKey.h"
#include "library/base/TextConversion.h"
#include "library/base/UniqueHandle.h"
#include "library/registry/RegistryScript.h"
#include "library/registry/RegistryTree.h"
#include "program/core/CLogFile.h"
#include "program/core/OutlookCheck.h"
#include "program/core/RegistryBackup.h"
#include "program/core/RegistryBackupFile.h"
#include "program/core/TargetUser.h"

#include <algorithm>
#include <string>

namespace
{
NvFsPath FullPath(const NvFsPath& path)
{
    char full[MAX_PATH] = {};
    DWORD length = GetFullPathNameA(path, MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? NvFsPath(full) : path;
}

void LogHeader()
{
    CLogFile& log = CLogFile::Instance();
    TargetUser::LogChoice();
    log.InfoF(" ");
    log.InfoF("-- RESTORE --");
}

// Why the profile of the complete backup `backup` cannot be restored, or
// restored for `profile` (unless empty); empty when it can.
std::wstring CheckRestorable(const RegistryBackupFile& backup, const std::wstring& profile)
{
    std::wstring userRoot = TargetUser::RootName();
    if (!RegistryScript::IsAtOrBelow(backup.GetKey(), userRoot))
        return L"It holds a profile of another user (" + backup.GetKey() + L"), not one below " + userRoot + L".";
    if (!profile.empty() && !SameName(profile, backup.GetProfile()))
        return L"It holds the profile \"" + backup.GetProfile() + L"\", not \"" + profile + L"\".";
    if (backup.GetKey().find(L'"') != std::wstring::npos)
        return L"The name of its profile holds a quotation mark, which the registry editor cannot be given, so the "
               L"profile can be neither backed up nor checked.";
    return std::wstring();
}

// False only when the key `keyText` surely does not exist: a key that does
// not open for another reason may still be there.
bool KeyMayExist(const std::wstring& keyText)
{
    RegistryKey key;
    return key.Open(TargetUser::Root(), keyText.substr(TargetUser::RootName().size() + 1), KEY_READ) !=
           ERROR_FILE_NOT_FOUND;
}
} // namespace

CoreOutcome RegistryRestore::Outcome::Result() const
{
    switch (stage)
    {
    case Stage::OutlookRunning:
        return {CoreOutcome::What::OutlookRunning};
    case Stage::FolderUnreadable:
        return {CoreOutcome::What::ProfileNotOpened};
    case Stage::NoBackup:
    case Stage::Refused:
        return {CoreOutcome::What::NotARestorableBackup};
    case Stage::BackupFailed:
        return {CoreOutcome::What::BackupFailed};
    case Stage::ImportFailed:
    case Stage::Incomplete:
        return {CoreOutcome::What::RestoreIncomplete};
    case Stage::Restored:
        break;
    }
    return {CoreOutcome::What::Clean};
}

RegistryRestore::RegistryRestore(const RegistryEditor& editor) : m_editor(editor)
{
}

RegistryRestore::Outcome RegistryRestore::RestoreFile(const NvFsPath& file, const std::wstring& profile,
                                                      bool withoutBackup)
{
    Outcome outcome;
    outcome.profile = profile;
    if (RefuseForOutlook(outcome))
        return outcome;
    LogHeader();
    outcome.file = FullPath(file);
    Restore(outcome, profile, withoutBackup);
    return outcome;
}

RegistryRestore::Outcome RegistryRestore::RestoreLatest(const std::wstring& profile, bool withoutBackup)
{
    Outcome outcome;
    outcome.profile = profile;
    if (RefuseForOutlook(outcome))
        return outcome;
    LogHeader();
    CLogFile& log = CLogFile::Instance();
    NvFsPath& folder = outcome.folder;
    std::vector<RegistryBackupFile> backups;
    CString unreadable = RegistryBackupFile::ListBackupFolder(folder, backups);
    if (!unreadable.IsEmpty())
    {
        log.Error(unreadable);
        outcome.problem = AnsiToWide(unreadable);
        outcome.stage = Stage::FolderUnreadable;
        return outcome;
    }
    // Under SYSTEM every user's profile may have the same name: only the
    // chosen user's backups count.
    std::wstring userRoot = TargetUser::RootName();
    auto latest = std::find_if(backups.begin(), backups.end(), [&](const RegistryBackupFile& backup) {
        return backup.IsComplete() && SameName(backup.GetProfile(), outcome.profile) &&
               RegistryScript::IsAtOrBelow(backup.GetKey(), userRoot);
    });
    if (latest == backups.end())
    {
        log.ErrorF("Brak kompletnego backupu profilu \"%s\" w folderze \"%s\".", WideToAnsiMarked(profile).GetString(),
                   folder.GetString());
        outcome.stage = Stage::NoBackup;
        return outcome;
    }
    outcome.file = latest->GetFile();
    Restore(outcome, profile, withoutBackup);
    return outcome;
}

bool RegistryRestore::RefuseForOutlook(Outcome& outcome)
{
    // Outlook writes the profile back from memory when it ends.
    if (!IsOutlookRunning(TargetUser::Sid()))
        return false;
    LogOutlookRunning();
    outcome.stage = Stage::OutlookRunning;
    return true;
}

void RegistryRestore::Restore(Outcome& outcome, const std::wstring& profile, bool withoutBackup) const
{
    CLogFile& log = CLogFile::Instance();
    log.InfoF("Procedura przywracania z pliku \"%s\".", outcome.file.GetString());
    std::string bytes;
    RegistryScript backup;
    RegistryBackupFile file = RegistryBackupFile::Read(outcome.file, bytes, backup);
    if (!file.GetProfile().empty())
        outcome.profile = file.GetProfile();
    std::wstring problem = file.IsComplete() ? CheckRestorable(file, profile) : file.GetProblem();
    if (!problem.empty())
    {
        log.ErrorF("Plik nie może zostać przywrócony, nic nie zostało zmienione: %s",
                   WideToAnsiMarked(problem).GetString());
        outcome.problem = problem;
        outcome.stage = Stage::Refused;
        return;
    }
    const std::wstring& keyText = file.GetKey();
    const std::wstring& profileName = file.GetProfile();
    CString loggedProfile = WideToAnsiMarked(profileName);
    log.InfoF("Plik jest backupem profilu \"%s\" (klucz %s).", loggedProfile.GetString(),
              WideToAnsiMarked(keyText).GetString());

    outcome.profileExisted = KeyMayExist(keyText);
    if (!outcome.profileExisted)
    {
        log.InfoF("Profil \"%s\" nie istnieje, backup nie jest potrzebny.", loggedProfile.GetString());
    }
    else
    {
        outcome.backupFile = BackUpProfile(&m_editor, keyText, profileName, outcome.backupError);
        if (outcome.backupFile.IsEmpty() && !withoutBackup)
        {
            outcome.stage = Stage::BackupFailed;
            return;
        }
    }

    // The keys and values are written from the script checked above, below
    // the profile key opened here: nothing the file holds can reach another
    // key, and the file itself may have been changed since.
    log.InfoF("Importowanie pliku \"%s\".", outcome.file.GetString());
    std::wstring userRoot = TargetUser::RootName();
    UniqueRegistryKey profileKey;
    LONG result = RegistryTree::OpenOrCreate(TargetUser::Root(), file.GetKey().substr(userRoot.size() + 1), profileKey);
    if (result == ERROR_SUCCESS)
    {
        ImportAndProve(profileKey.Get(), file.GetKey(), backup, outcome);
    }
    else
    {
        CString failure = "The profile key cannot be opened for the import: " +
                          Error::GetSystemErrorSentence(static_cast<DWORD>(result));
        log.Error(failure);
        outcome.problem = AnsiToWide(failure);
        outcome.stage = Stage::ImportFailed;
    }
    if (outcome.stage == Stage::Restored)
        log.InfoF("Profil \"%s\" został przywrócony z pliku \"%s\".", loggedProfile.GetString(),
                  outcome.file.GetString());
    else
        log.ErrorF("Profil \"%s\" nie został w pełni przywrócony z pliku \"%s\".", loggedProfile.GetString(),
                   outcome.file.GetString());
}

void RegistryRestore::ImportAndProve(HKEY profileKey, const std::wstring& profilePath, const RegistryScript& backup,
                                     Outcome& outcome)
{
    CLogFile& log = CLogFile::Instance();
    std::wstring failed;
    LONG result = RegistryTree::Write(profileKey, profilePath, backup.GetKeys(), failed);
    bool imported = result == ERROR_SUCCESS;
    if (!imported)
    {
        outcome.problem = L"Not everything of the backup can be written, first " + failed + L": " +
                          AnsiToWide(Error::GetSystemErrorSentence(static_cast<DWORD>(result)));
        log.Error(WideToAnsiMarked(outcome.problem));
    }

    // What the key holds now proves the import, read through the same handle.
    log.InfoF("Sprawdzanie profilu po imporcie.");
    std::vector<RegistryScript::Key> keys;
    result = RegistryTree::Read(profileKey, profilePath, false, keys);
    if (result != ERROR_SUCCESS)
    {
        CString readFailure = "The profile key cannot be read after the import, so the result is not known: " +
                              Error::GetSystemErrorSentence(static_cast<DWORD>(result));
        log.Error(readFailure);
        if (outcome.problem.empty())
            outcome.problem = AnsiToWide(readFailure);
        outcome.stage = Stage::ImportFailed;
        return;
    }
    RegistryScript after = RegistryScript::OfKeys(std::move(keys));
    for (const RegistryScript::Absence& absence : backup.FindAbsent(after))
    {
        outcome.missing.push_back(absence.Describe());
        log.ErrorF(absence.otherData ? "Inne dane po imporcie: %s" : "Brakuje po imporcie: %s",
                   WideToAnsiMarked(outcome.missing.back()).GetString());
    }
    for (const RegistryScript::Absence& absence : after.FindAbsent(backup))
    {
        if (absence.otherData)
            continue;
        outcome.added.push_back(absence.Describe());
        log.InfoF("Dodane po backupie, pozostaje: %s", WideToAnsiMarked(outcome.added.back()).GetString());
    }
    outcome.stage = !imported ? Stage::ImportFailed : outcome.missing.empty() ? Stage::Restored : Stage::Incomplete;
}
