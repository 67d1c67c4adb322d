#pragma once

#include "library/framework/CWinApp.h"

// Start-up and shut-down of the program around its one window.
class CPSTStraysweepApp : public CWinApp
{
public:
    CPSTStraysweepApp() = default;

    // Application name, language module, log and its start lines (with the
    // reason when a language module was refused), then the main dialog,
    // modally. FALSE: the program ends when the dialog closes.
    BOOL InitInstance() override;
    // The exit line, the log closed, the built-in resources back in force and
    // the language module released. The framework's result is the exit code.
    int ExitInstance() override;

    // Help goes to the framework's default handler.
    BOOL OnCommand(UINT id) override;
};
