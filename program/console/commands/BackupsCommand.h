#pragma once

#include "program/console/ArgumentParser.h"

#include <windows.h>

#include <string>
#include <vector>

// "backups": the backup files in the backup folder, newest first; with
// --profile those of that profile only, with --user those of that user only.
class BackupsCommand
{
public:
    struct Backup
    {
        // The full path.
        std::wstring file;
        // From the file's name; empty when the name tells none.
        std::wstring taken;
        std::wstring profile;
        std::wstring key;
        ULONGLONG bytes = 0;
        bool complete = false;
    };

    struct Report
    {
        int exitCode = 0;
        // Why the folder cannot be read; empty when it was.
        std::wstring error;
        std::wstring folder;
        // As given; empty for every profile.
        std::wstring profile;
        std::vector<Backup> backups;
    };

    static Report Run(const ConsoleArguments& arguments);
};
