#pragma once

#include <string>

#include "program/console/ArgumentParser.h"

#include <vector>

// "repair": the invalid sections of a PST store removed from a profile, the
// profile key backed up first.
class RepairCommand
{
public:
    struct Report
    {
        int exitCode = 0;
        // What stopped or failed, worded for the user; empty when nothing did.
        std::wstring error;
        std::wstring profile;
        std::wstring pst;
        // The backup taken, or why it failed.
        std::wstring backupFile;
        std::wstring backupError;
        // In registry order.
        std::vector<std::wstring> removedSections;
        std::vector<std::wstring> failedSections;
    };

    static Report Run(const ConsoleArguments& arguments);
};
