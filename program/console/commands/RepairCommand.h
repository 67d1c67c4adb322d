#pragma once

#include "library/base/CString.h"
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
        CString error;
        CString profile;
        CString pst;
        // The backup taken, or why it failed.
        CString backupFile;
        CString backupError;
        // In registry order.
        std::vector<CString> removedSections;
        std::vector<CString> failedSections;
    };

    static Report Run(const ConsoleArguments& arguments);
};
