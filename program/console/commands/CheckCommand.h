#pragma once

#include <string>

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
        std::wstring error;
        std::wstring profile;
        std::wstring pst;
        // In registry order.
        std::vector<std::wstring> invalidSections;
    };

    static Report Run(const ConsoleArguments& arguments);
};
