#pragma once

#include "library/fs/NvFsPathT.h"

// The product's name: the application's name, the window's title and the
// name of its folder in the user's application-data folder.
extern const char* const ProductName;

// The product folder in the user's roaming application-data folder, where the
// log, the settings and the backups live; existing on return, or an empty
// path when it cannot be had.
NvFsPath GetAppDataFolder();
