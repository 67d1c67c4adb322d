#pragma once

#include "program/console/ArgumentParser.h"

#include <string>
#include <vector>

// "restore": a profile put back from a backup file, or from the newest
// complete backup of the profile, the present state backed up first.
class RestoreCommand
{
public:
    struct Report
    {
        int exitCode = 0;
        // What failed or was refused, worded for the user; empty when the
        // profile was restored.
        std::wstring error;
        // The profile that the file holds, or the one asked for.
        std::wstring profile;
        // The file restored from; empty when none was found.
        std::wstring file;
        // The backup taken before the import, or why it failed.
        std::wstring backupFile;
        std::wstring backupError;
        bool profileExisted = true;
        // The keys and values of the file were written.
        bool imported = false;
        // ... and every one of them is back.
        bool restored = false;
        // As a registry script writes them.
        std::vector<std::wstring> missing;
        std::vector<std::wstring> added;
    };

    static Report Run(const ConsoleArguments& arguments);
};
