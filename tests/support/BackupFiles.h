#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

// The program's backup folder, "Registry Backup" in the product folder.
std::string BackupFolder();

// Backup files made while the object lives, deleted when it dies; earlier
// ones stay.
class NewBackups
{
public:
    NewBackups();
    ~NewBackups();
    NewBackups(const NewBackups&) = delete;
    NewBackups& operator=(const NewBackups&) = delete;

    // File names, not paths, in name order.
    std::vector<std::string> Names() const;

private:
    std::set<std::string> m_before;
};

// Moves the backup folder aside for its lifetime, then removes whatever
// stands in its place (file or folder) and puts the folder back.
class BackupFolderAside
{
public:
    BackupFolderAside();
    ~BackupFolderAside();
    BackupFolderAside(const BackupFolderAside&) = delete;
    BackupFolderAside& operator=(const BackupFolderAside&) = delete;

private:
    std::string m_saved;
    bool m_moved = false;
};

// A .reg file of the registry editor (UTF-16 with byte order mark) as text
// in the ANSI code page; empty when it is not one.
std::string ReadRegistryScript(const std::string& path);

// REGEDIT.EXE of the Windows folder.
std::string RegeditPath();

// Runs a command line to its end (at most 30 s); its exit code, or the error
// code when it cannot start.
DWORD RunToEnd(std::string commandLine);
