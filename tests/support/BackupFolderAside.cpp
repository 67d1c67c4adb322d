#include "tests/support/BackupFolderAside.h"

#include "tests/support/NewBackups.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

BackupFolderAside::BackupFolderAside() : m_saved(BackupFolder() + ".saved-" + std::to_string(GetCurrentProcessId()))
{
    m_moved = MoveFileA(BackupFolder().c_str(), m_saved.c_str()) != FALSE;
}

BackupFolderAside::~BackupFolderAside()
{
    DeleteFileA(BackupFolder().c_str());
    RemoveTree(BackupFolder());
    if (m_moved)
        MoveFileA(m_saved.c_str(), BackupFolder().c_str());
}
