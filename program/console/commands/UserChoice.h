#pragma once

#include <string>

#include "program/console/ArgumentParser.h"

#include <windows.h>

// --user: the registry of the user named is chosen for every command that
// follows, or the command is refused.
class UserChoice
{
public:
    struct Report
    {
        // The command refused, as the command line names it.
        const char* command = "";
        int exitCode = 0;
        std::wstring error;
        // As given.
        std::wstring profile;
        std::wstring pst;
    };

    // Chooses the user of --user, when one is given: ERROR_SUCCESS, or the
    // code of the failure to open that user's registry.
    static LONG Choose(const ConsoleArguments& arguments);
    // Why the command of `arguments` is refused after Choose failed with
    // `result`.
    static Report Refusal(const ConsoleArguments& arguments, LONG result);
};
