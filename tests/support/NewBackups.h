#pragma once

#include <set>
#include <string>
#include <vector>

// The program's backup folder: "Registry Backup" in the product data folder.
std::string BackupFolder();

// The backup files made from now on; the destructor deletes them and leaves
// earlier ones alone.
class NewBackups
{
public:
    NewBackups();
    ~NewBackups();
    NewBackups(const NewBackups&) = delete;
    NewBackups& operator=(const NewBackups&) = delete;

    // File names (no folder) of the backups made since construction.
    std::vector<std::string> Names() const;

private:
    std::set<std::string> m_before;
};
