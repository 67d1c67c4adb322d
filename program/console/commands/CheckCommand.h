#pragma once

#include "library/base/CString.h"
#include "program/console/ArgumentParser.h"

#include <vector>

// "check": the invalid sections of a PST store in a profile; nothing changes.
class CheckCommand
{
public:
    struct Report
    {
        int exitCode = 0;
        // Why the profile cannot be read (completely); empty when it was.
        CString error;
        CString profile;
        CString pst;
        // In registry order.
        std::vector<CString> invalidSections;
    };

    static Report Run(const ConsoleArguments& arguments);
};
