#pragma once

#include "library/fs/NvFsPathT.h"

#include <string>
#include <vector>

class RegistryScript;

// A registry script judged as a backup of one mail profile: one of the
// backup folder, or any file named for a restore.
class RegistryBackupFile
{
public:
    // Reads the file at `path` into `bytes` and `script` and judges it.
    static RegistryBackupFile Read(const NvFsPath& path, std::string& bytes, RegistryScript& script);

    // Reads and judges the files of `folder` named as backups are named
    // ("YYYY-MM-DD HH.MM.SS - <profile>.reg", " (N)" before ".reg" for the
    // N-th of a second), into `backups` newest first: by the time stamp of
    // the name, then by its number. ERROR_SUCCESS, or the system's code when
    // the folder cannot be listed (`backups` then empty).
    static DWORD List(const NvFsPath& folder, std::vector<RegistryBackupFile>& backups);

    // List for the backup folder (GetRegistryBackupFolder), its path put in
    // `folder`. Why it cannot be had or listed, in English; empty when it
    // was.
    static CString ListBackupFolder(NvFsPath& folder, std::vector<RegistryBackupFile>& backups);

    const NvFsPath& GetFile() const { return m_file; }
    // When the backup was taken, "YYYY-MM-DDTHH:MM:SS" in local time, from
    // the file's name; empty when the name is not a backup's.
    const CString& GetTaken() const { return m_taken; }
    // The path of the file's first key line; empty when it has none.
    const std::wstring& GetKey() const { return m_key; }
    // The last part of that path: the profile.
    const std::wstring& GetProfile() const { return m_profile; }
    ULONGLONG GetBytes() const { return m_bytes; }
    // True when the file is a complete registry export of one mail profile
    // of a user: its first key line is
    // "HKEY_CURRENT_USER\<profiles root>\<profile>" (one of the three roots)
    // or the same below "HKEY_USERS\<SID>", every other key line lies below
    // it, and it deletes nothing.
    bool IsComplete() const { return m_problem.empty(); }
    // Why it is not, in English, naming the first offending line; empty when
    // it is.
    const std::wstring& GetProblem() const { return m_problem; }

private:
    NvFsPath m_file;
    CString m_taken;
    // Orders backups of the same second: 1 for a name without " (N)".
    int m_number = 0;
    std::wstring m_key;
    std::wstring m_profile;
    ULONGLONG m_bytes = 0;
    std::wstring m_problem;
};
