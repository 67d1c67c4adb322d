#pragma once

#include <string>

// Moves the program's backup folder aside for the test and puts it back
// afterwards, removing whatever the test left in its place.
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
